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

PageReading ReadAdmin(const std::optional<std::string>& file) {
  PageReading reading;
  std::optional<std::string> password;
  if (file) {
    const std::vector<std::string_view> lines = FileLines(*file);
    password = lines.empty() ? std::string() : std::string(lines.front());
    // The lines themselves may be passwords: only their number is told.
    if (lines.size() != 1) {
      reading.notes.push_back("it holds " + std::to_string(lines.size()) +
                              " lines; the page writes one, the first is shown");
    }
  }
  reading.values = {{"new-password", password, true}};
  return reading;
}

}  // namespace azu
