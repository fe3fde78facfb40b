#include "rules/accounting_rules.h"

#include <algorithm>
#include <optional>

#include "rules/text_compare.h"
#include "server/zorne_constants.h"

namespace azu {
namespace {

// The two lists' entries, in the order the value of a list text is looked up.
struct ListEntry {
  const char* key;
  const char* word;
};
constexpr std::array kEntries{
    ListEntry{"V_NONE", "None"},
    ListEntry{"V_VSA", "StandardAccounting"},
    ListEntry{"V_NETWORKACCOUNTING", "NetworkAccounting"},
    ListEntry{"V_DEFAULTGROUP", "DefaultAccount"},
    ListEntry{"V_GENERAL", "GeneralAccount"},
    ListEntry{"V_GROUP", "GroupAccount"},
};

// The word the server's file holds for a list text; empty for a text of no entry.
std::string ValueWord(const std::string& text) {
  const auto* entry = std::find_if(kEntries.begin(), kEntries.end(),
                                   [&](const ListEntry& e) { return IsTextOf(text, e.key); });
  return entry != kEntries.end() ? entry->word : "";
}

std::optional<std::string> When(bool condition, const std::string& value) {
  return condition ? std::optional<std::string>(value) : std::nullopt;
}

}  // namespace

CheckNotice CheckAccounting(const AccountingFields& fields) {
  if (fields.systemIndex != kStandardAccounting) return nullptr;
  const bool numeric = std::all_of(fields.accountId.begin(), fields.accountId.end(),
                                   [](char c) { return c >= '0' && c <= '9'; });
  return numeric ? nullptr : "M_ACCOUNTING_ACCOUNTIDNUMERIC";
}

PagePlan AccountingPlan(const AccountingFields& fields) {
  const bool none = IsTextOf(fields.systemText, "V_NONE");
  const bool network = IsTextOf(fields.systemText, "V_NETWORKACCOUNTING");
  const bool defaultGroup =
      IsTextOf(fields.systemText, "V_VSA") && IsTextOf(fields.typeText, "V_DEFAULTGROUP");
  PagePlan plan;
  plan.change.serverPath = kMainConfig;
  plan.change.messagePrefix = "M_ACCOUNTING_";
  plan.change.keys = {
      {"accounting.accountingsystem", ValueWord(fields.systemText)},
      {"accounting.accounttype", When(!none && !network, ValueWord(fields.typeText))},
      {"accounting.accountid",
       When(!fields.accountId.empty() && !none && !defaultGroup, fields.accountId)},
      {"accounting.userid", When(!fields.userId.empty() && !none, fields.userId)},
  };
  return plan;
}

}  // namespace azu
