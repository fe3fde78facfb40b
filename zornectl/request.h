#pragma once
// What one zornectl command asks: the page and its field values, the servers, and how to run.

#include <optional>
#include <string>
#include <vector>

#include "rules/accounting_rules.h"
#include "rules/admin_rules.h"
#include "rules/dual_ip_rules.h"
#include "rules/ftp_rules.h"
#include "rules/http_rules.h"
#include "rules/snmp_rules.h"
#include "rules/tallyon_rules.h"

namespace azu::ctl {

inline constexpr int kDefaultParallel = 8;
inline constexpr int kDefaultDeadlineSeconds = 120;

struct Request {
  std::string page;  // admin, accounting, tallyon, ftp, http, snmp, dual-ip
  std::vector<std::string> servers;
  bool dryRun = false;
  bool reboot = false;
  std::optional<std::string> backupDir;
  int parallel = kDefaultParallel;
  int deadlineSeconds = kDefaultDeadlineSeconds;
  bool json = false;
  std::string zornePassword;

  AdminFields admin;
  AccountingFields accounting;
  TallyonFields tallyon;
  FtpFields ftp;
  HttpFields http;
  SnmpFields snmp;
  DualIpFields dualIp;
};

// The page's own checks that do not depend on the server, in the page's order.
CheckNotice CheckPage(const Request& request);
// The checks that do (the second address must not be the server's own).
CheckNotice CheckForServer(const Request& request, const std::string& server);
// The page's plan; nullopt when it does nothing.
std::optional<PagePlan> MakePlan(const Request& request, ServerLibrary& library);

}  // namespace azu::ctl
