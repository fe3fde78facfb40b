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

PageReading ReadDualIp(const std::optional<std::string>& mainConfig,
                       const std::optional<std::string>& rulesFile,
                       const std::optional<std::optional<std::string>>& attribute) {
  PageReading reading;
  const std::string content = mainConfig.value_or("");
  const auto address = SingleKeyValue(content, kAddressKey, reading);
  const auto mask = SingleKeyValue(content, kMaskKey, reading);
  const bool keys = address && mask;
  if (address.has_value() != mask.has_value()) {
    reading.notes.push_back(std::string(address ? kMaskKey : kAddressKey) +
                            " is missing, although the page writes both keys");
  }
  if (rulesFile && keys) {
    const std::vector<std::string_view> lines = FileLines(*rulesFile);
    if (lines.size() != 1 || lines.front() != PortFilterRulesLine(*address, *mask)) {
      reading.notes.push_back(std::string("the rules file ") + kPortFilterRulesPath +
                              " is not the one the page writes for this address and mask");
    }
  }
  if (keys != rulesFile.has_value()) {
    reading.notes.push_back(keys ? std::string("the rules file ") + kPortFilterRulesPath +
                                       " is missing"
                                 : std::string("the rules file ") + kPortFilterRulesPath +
                                       " is there without the address");
  }
  // Deleting leaves the attribute as it is; only an address without it is incomplete.
  const bool enabled = !attribute || *attribute == std::optional<std::string>("yes");
  if (keys && !enabled) reading.notes.push_back("portfilters_enabled is not yes");
  std::string state = "incomplete";
  if (reading.notes.empty()) state = keys ? "present" : "absent";
  if (!address && !mask && !rulesFile) state = "absent";
  reading.values = {
      {"state", state},
      {"address", address},
      {"mask", mask},
      {"portfilters-enabled", attribute ? *attribute : std::optional<std::string>("unknown")}};
  return reading;
}

}  // namespace azu
