#include "rules/accounting_rules.h"

#include <algorithm>
#include <optional>
#include <tuple>

#include "app/text_table.h"
#include "rules/text_compare.h"
#include "server/zorne_constants.h"

namespace azu {
namespace {

// The two lists' entries, in the order the value of a list text is looked up.
struct ListEntry {
  const char* key;
  const char* word;
  const char* option;  // zornectl's name of the entry
};
constexpr std::array kEntries{
    ListEntry{"V_NONE", "None", "none"},
    ListEntry{"V_VSA", "StandardAccounting", "standard"},
    ListEntry{"V_NETWORKACCOUNTING", "NetworkAccounting", "network"},
    ListEntry{"V_DEFAULTGROUP", "DefaultAccount", "default"},
    ListEntry{"V_GENERAL", "GeneralAccount", "general"},
    ListEntry{"V_GROUP", "GroupAccount", "group"},
};
constexpr std::size_t kFirstType = 3;

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

PageReading ReadAccounting(const std::optional<std::string>& mainConfig) {
  PageReading reading;
  const std::string content = mainConfig.value_or("");
  const auto system = SingleKeyValue(content, "accounting.accountingsystem", reading);
  const auto type = SingleKeyValue(content, "accounting.accounttype", reading);
  const auto accountId = SingleKeyValue(content, "accounting.accountid", reading);
  const auto userId = SingleKeyValue(content, "accounting.userid", reading);
  // A word of the list's entries (from `first`, three of them); nullopt for any other word.
  const auto entry = [](const std::optional<std::string>& word,
                        std::size_t first) -> const ListEntry* {
    for (std::size_t at = first; word && at < first + 3; ++at) {
      if (*word == kEntries[at].word) return &kEntries[at];
    }
    return nullptr;
  };
  const ListEntry* systemEntry = entry(system, 0);
  const ListEntry* typeEntry = entry(type, kFirstType);
  reading.values = {
      {"system", systemEntry ? std::optional<std::string>(systemEntry->option) : system},
      {"type", typeEntry ? std::optional<std::string>(typeEntry->option) : type},
      {"account-id", accountId},
      {"user-id", userId}};
  for (const auto& [word, known, key] :
       {std::tuple{system, systemEntry, "accounting.accountingsystem"},
        std::tuple{type, typeEntry, "accounting.accounttype"}}) {
    if (word && known == nullptr) {
      reading.notes.push_back(std::string(key) + "=" + *word + " is no value the page writes");
    }
  }
  if (!system) {
    if (type || accountId || userId)
      reading.notes.push_back("accounting.accountingsystem is missing");
    return reading;
  }
  if (systemEntry == nullptr || (type && typeEntry == nullptr)) return reading;
  AccountingFields fields;
  fields.systemIndex = static_cast<int>(systemEntry - kEntries.data());
  fields.systemText = GetText(systemEntry->key);
  fields.typeText = GetText(typeEntry ? typeEntry->key : kEntries[kFirstType].key);
  fields.accountId = accountId.value_or("");
  fields.userId = userId.value_or("");
  NoteKeysNotAsPlanned(content, AccountingPlan(fields).change.keys, reading);
  return reading;
}

}  // namespace azu
