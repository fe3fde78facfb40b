#include "rules/dual_ip_rules.h"

#include "rules/port_filter_rules.h"
#include "rules/server_entry.h"
#include "server/zorne_constants.h"

namespace azu {
namespace {

constexpr const char* kAddressKey = "DualIPAddress";
constexpr const char* kMaskKey = "DualIPSubnetMask";

}  // namespace

CheckNotice CheckDualIp(const DualIpFields& fields, std::span<const std::string> servers,
                        const std::string& serverName) {
  return IsServerAddress(servers, serverName, fields.address) ? "M_DUAL_SAMEIP" : nullptr;
}

std::optional<PagePlan> DualIpPlan(const DualIpFields& fields, ServerLibrary& library) {
  PagePlan plan;
  plan.change.serverPath = kMainConfig;
  if (fields.mode == kDualIpAdd) {
    plan.change.messagePrefix = "M_DUAL_ADD_";
    plan.change.keys = {{kAddressKey, fields.address}, {kMaskKey, fields.mask}};
    plan.change.afterStore = [&library, address = fields.address,
                              mask = fields.mask](VIREO_FT_SESSION& session) {
      return StorePortFilterRules(library, session, address, mask);
    };
    plan.attribute = AttributeStep{"portfilters_enabled", "yes", "M_DUAL_ADD_OPENSESSION2",
                                   "M_DUAL_ADD_SETDEFAULT"};
    return plan;
  }
  if (fields.mode != kDualIpDelete) return std::nullopt;
  plan.change.messagePrefix = "M_DUAL_DELETE_";
  plan.change.keys = {{kAddressKey, std::nullopt}, {kMaskKey, std::nullopt}};
  plan.change.storeOnlyIfDropped = true;  // a file without the keys is left as it was
  plan.change.afterStore = [&library](VIREO_FT_SESSION& session) {
    return RemovePortFilterRules(library, session);
  };
  return plan;
}

}  // namespace azu
