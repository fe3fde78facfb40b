#include "rules/admin_rules.h"

namespace azu {
namespace {
constexpr const char* kEngineInfo = "/not-scsi0/config_files/engineInfo";
}  // namespace

CheckNotice CheckAdmin(const AdminFields& fields) {
  return fields.newPassword.empty() ? "M_ADMIN_SPECIFYPASSWORD" : nullptr;
}

PagePlan AdminPlan(const AdminFields& fields) {
  PagePlan plan;
  plan.change.kind = PageChange::Kind::Replace;
  plan.change.serverPath = kEngineInfo;
  plan.change.lines = {fields.newPassword};
  plan.change.messagePrefix = "M_ADMIN_";
  return plan;
}

}  // namespace azu
