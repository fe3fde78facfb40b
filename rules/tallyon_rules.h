#pragma once
// The job-audit credentials page's rules: the user ID and passcode as keys of the main
// configuration file; empty ones are written as empty values.

#include <string>

#include "rules/page_plan.h"
#include "rules/page_reading.h"

namespace azu {

struct TallyonFields {
  std::string userId;
  std::string passcode;
};

PagePlan TallyonPlan(const TallyonFields& fields);
// maj_0.cfg → user-id, passcode (secret).
PageReading ReadTallyon(const std::optional<std::string>& mainConfig);

}  // namespace azu
