#pragma once
// The Print Accounting page's rules: the accounting system, the account type and the IDs for the
// server's own system pages, as keys of the main configuration file. The lists' values are their
// texts, compared with the texts of the table in the user's language, as the page does.

#include <array>
#include <string>

#include "rules/page_plan.h"
#include "rules/page_reading.h"

namespace azu {

// The lists' entries in their order: the systems (None, Standard, Network) and the types.
inline constexpr std::array<const char*, 3> kAccountingSystemKeys = {"V_NONE", "V_VSA",
                                                                     "V_NETWORKACCOUNTING"};
inline constexpr std::array<const char*, 3> kAccountTypeKeys = {"V_DEFAULTGROUP", "V_GENERAL",
                                                                "V_GROUP"};
inline constexpr int kStandardAccounting = 1;

struct AccountingFields {
  int systemIndex = 0;     // the system list's selection
  std::string systemText;  // the system list's text
  std::string typeText;    // the type list's text
  std::string accountId;
  std::string userId;
};

// Standard Accounting takes numeric account IDs only (also when the field is disabled).
CheckNotice CheckAccounting(const AccountingFields& fields);
PagePlan AccountingPlan(const AccountingFields& fields);
// maj_0.cfg → system (none, standard, network), type (default, general, group), account-id,
// user-id. A value word no list has is shown as it stands.
PageReading ReadAccounting(const std::optional<std::string>& mainConfig);

}  // namespace azu
