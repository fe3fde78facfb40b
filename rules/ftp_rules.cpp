#include "rules/ftp_rules.h"

namespace azu {
namespace {
constexpr const char* kScanToFtp = "/not-scsi0/dev0/ScanToFtp_input.txt";
}  // namespace

CheckNotice CheckFtp(const FtpFields& fields) {
  if (fields.host.empty()) return "M_SPECIFYSERVER";
  if (fields.userName.empty()) return "M_SPECIFYUSERNAME";
  return nullptr;
}

PagePlan FtpPlan(const FtpFields& fields) {
  PagePlan plan;
  plan.change.kind = PageChange::Kind::Replace;
  plan.change.serverPath = kScanToFtp;
  plan.change.messagePrefix = "M_FTP_";
  plan.change.lines = {"hostname:" + fields.host, "username:" + fields.userName};
  if (!fields.password.empty()) plan.change.lines.push_back("password:" + fields.password);
  if (!fields.destination.empty()) {
    plan.change.lines.push_back("destination:" + fields.destination);
  }
  plan.completedInformation = "M_FTP_CONFIGURED";
  return plan;
}

}  // namespace azu
