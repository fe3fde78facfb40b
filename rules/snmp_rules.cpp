#include "rules/snmp_rules.h"

#include "server/zorne_constants.h"

namespace azu {

std::optional<PagePlan> SnmpPlan(const SnmpFields& fields) {
  if (fields.version != kSnmpVersion1 && fields.version != kSnmpVersion3) return std::nullopt;
  const bool version1 = fields.version == kSnmpVersion1;
  const auto v1Only = [version1](const std::string& value) {
    return version1 ? std::optional<std::string>(value) : std::nullopt;
  };
  const auto v3Only = [version1](const std::string& value) {
    return version1 ? std::nullopt : std::optional<std::string>(value);
  };
  PagePlan plan;
  plan.change.serverPath = kMainConfig;
  plan.change.messagePrefix = "M_SNMP_";
  plan.change.keys = {
      {"snmp.version", version1 ? "1" : "3"},
      {"snmp.getcommunityname", v1Only(fields.getCommunity)},
      {"snmp.setcommunityname", v1Only(fields.setCommunity)},
      {"snmp.username", v3Only(kSnmpUserName)},
      {"snmp.authpassword", v3Only(fields.authPassword)},
      {"snmp.privpassword", v3Only(fields.privPassword)},
  };
  return plan;
}

}  // namespace azu
