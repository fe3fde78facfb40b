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

PageReading ReadSnmp(const std::optional<std::string>& mainConfig) {
  PageReading reading;
  const std::string content = mainConfig.value_or("");
  const auto version = SingleKeyValue(content, "snmp.version", reading);
  const auto get = SingleKeyValue(content, "snmp.getcommunityname", reading);
  const auto set = SingleKeyValue(content, "snmp.setcommunityname", reading);
  const auto user = SingleKeyValue(content, "snmp.username", reading);
  const auto auth = SingleKeyValue(content, "snmp.authpassword", reading);
  const auto priv = SingleKeyValue(content, "snmp.privpassword", reading);
  reading.values = {{"version", version},
                    {"get-community", get, true},
                    {"set-community", set, true},
                    {"auth-password", auth, true},
                    {"priv-password", priv, true}};
  if (!version) {
    if (get || set || user || auth || priv) reading.notes.push_back("snmp.version is missing");
    return reading;
  }
  if (*version != "1" && *version != "3") {
    reading.notes.push_back("snmp.version=" + *version + " is no version the page writes");
    return reading;
  }
  SnmpFields fields;
  fields.version = *version == "1" ? kSnmpVersion1 : kSnmpVersion3;
  fields.getCommunity = get.value_or("");
  fields.setCommunity = set.value_or("");
  fields.authPassword = auth.value_or("");
  fields.privPassword = priv.value_or("");
  NoteKeysNotAsPlanned(content, SnmpPlan(fields)->change.keys, reading);
  return reading;
}

}  // namespace azu
