#include "rules/page_plan.h"

#include "framework/message_box.h"

namespace azu {
namespace {

bool SetAttribute(ServerLibrary& library, VIREO_CONNECTION connection, const AttributeStep& step) {
  VIREO_ATTR_SESSION attributes{};
  if (const VIREO_STATUS s = library.OpenAttributes(connection, &attributes)) {
    ShowTextMessage(step.openFailureKey, s, kErrorBox);
    return false;
  }
  const VIREO_STATUS set = library.SetAttribute(&attributes, step.name, step.value);
  if (set != VIREO_OK) ShowTextMessage(step.setFailureKey, set, kErrorBox);
  library.CloseAttributes(&attributes);
  return set == VIREO_OK;
}

}  // namespace

bool RunPagePlan(ServerLibrary& library, VIREO_CONNECTION connection, const PagePlan& plan,
                 RebootOffer offer) {
  if (!RunTransaction(library, connection, plan.change).completed) return false;
  if (plan.attribute && !SetAttribute(library, connection, *plan.attribute)) return false;
  if (plan.completedInformation != nullptr) {
    ShowTextMessage(plan.completedInformation, kInformationBox);
  } else if (offer == RebootOffer::Ask) {
    OfferReboot(library, connection);
  }
  return true;
}

}  // namespace azu
