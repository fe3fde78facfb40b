#include "rules/http_rules.h"

#include <string>

namespace azu {
namespace {
constexpr const char* kEngineHttp = "/not-scsi0/config_files/engineHTTP";
}  // namespace

CheckNotice CheckHttp(const HttpFields& fields) {
  return fields.httpPort == fields.httpsPort ? "M_HTTP_SAMEPORT" : nullptr;
}

PagePlan HttpPlan(const HttpFields& fields) {
  PagePlan plan;
  plan.change.kind = PageChange::Kind::Replace;
  plan.change.serverPath = kEngineHttp;
  plan.change.messagePrefix = "M_HTTP_";
  plan.change.lines = {"HTTP=" + std::to_string(fields.httpPort),
                       "HTTPS=" + std::to_string(fields.httpsPort)};
  return plan;
}

}  // namespace azu
