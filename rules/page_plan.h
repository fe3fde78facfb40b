#pragma once
// What a page's Configure does on the server once connected, as data: its file change, an
// attribute to set after it, and how it ends. The dialogs and zornectl run the same plans, so the
// same field values store the same bytes whichever door they came through.

#include <optional>
#include <string>

#include "server/server_library.h"
#include "server/transaction.h"

namespace azu {

// An attribute set after the file change went through, with the texts of its two failures.
struct AttributeStep {
  std::string name;
  std::string value;
  std::string openFailureKey;
  std::string setFailureKey;
};

struct PagePlan {
  PageChange change;
  std::optional<AttributeStep> attribute;
  // Shown when everything went through (information box); such a page offers no reboot.
  const char* completedInformation = nullptr;
};

enum class RebootOffer : bool { Never, Ask };

// Runs the plan on the open connection; every failure is its error box. True when everything
// went through; then the page's ending follows: its information box, or with RebootOffer::Ask
// the question whether to reboot now.
bool RunPagePlan(ServerLibrary& library, VIREO_CONNECTION connection, const PagePlan& plan,
                 RebootOffer offer);

// A page's checks: the key of the notice that stops Configure, or nullptr when all pass.
using CheckNotice = const char*;

}  // namespace azu
