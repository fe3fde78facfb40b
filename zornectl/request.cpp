#include "zornectl/request.h"

#include "framework/ipv4_text.h"

namespace azu::ctl {

CheckNotice CheckPage(const Request& request) {
  if (request.page == "admin") return CheckAdmin(request.admin);
  if (request.page == "accounting") return CheckAccounting(request.accounting);
  if (request.page == "ftp") return CheckFtp(request.ftp);
  if (request.page == "http") return CheckHttp(request.http);
  return nullptr;
}

CheckNotice CheckForServer(const Request& request, const std::string& server) {
  if (request.page != "dual-ip") return nullptr;
  // The server as the discovered list would show it, when it is named by its address.
  std::vector<std::string> servers;
  if (ParseIPv4Strict(server)) servers.push_back(server + " " + server);
  return CheckDualIp(request.dualIp, servers, server);
}

std::optional<PagePlan> MakePlan(const Request& request, ServerLibrary& library) {
  if (request.page == "admin") return AdminPlan(request.admin);
  if (request.page == "accounting") return AccountingPlan(request.accounting);
  if (request.page == "tallyon") return TallyonPlan(request.tallyon);
  if (request.page == "ftp") return FtpPlan(request.ftp);
  if (request.page == "http") return HttpPlan(request.http);
  if (request.page == "snmp") return SnmpPlan(request.snmp);
  if (request.page == "dual-ip") return DualIpPlan(request.dualIp, library);
  return std::nullopt;
}

}  // namespace azu::ctl
