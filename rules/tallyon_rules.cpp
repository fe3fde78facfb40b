#include "rules/tallyon_rules.h"

#include "server/zorne_constants.h"

namespace azu {

PagePlan TallyonPlan(const TallyonFields& fields) {
  PagePlan plan;
  plan.change.serverPath = kMainConfig;
  plan.change.messagePrefix = "M_TALLYON_";
  plan.change.keys = {{"AZPersUserID", fields.userId}, {"AZPersUserPWD", fields.passcode}};
  return plan;
}

PageReading ReadTallyon(const std::optional<std::string>& mainConfig) {
  PageReading reading;
  const std::string content = mainConfig.value_or("");
  TallyonFields fields;
  const auto user = SingleKeyValue(content, "AZPersUserID", reading);
  const auto passcode = SingleKeyValue(content, "AZPersUserPWD", reading);
  fields.userId = user.value_or("");
  fields.passcode = passcode.value_or("");
  NoteKeysNotAsPlanned(content, TallyonPlan(fields).change.keys, reading);
  reading.values = {{"user-id", user}, {"passcode", passcode, true}};
  return reading;
}

}  // namespace azu
