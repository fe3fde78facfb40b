#pragma once
// The Admin page's rules: the new administrator password replaces the server's engineInfo file.

#include <string>

#include "rules/page_plan.h"
#include "rules/page_reading.h"

namespace azu {

struct AdminFields {
  std::string newPassword;
};

CheckNotice CheckAdmin(const AdminFields& fields);
PagePlan AdminPlan(const AdminFields& fields);
// engineInfo → new-password (secret).
PageReading ReadAdmin(const std::optional<std::string>& file);

}  // namespace azu
