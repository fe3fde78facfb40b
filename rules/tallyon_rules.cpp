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

}  // namespace azu
