#pragma once
// The SNMP page's rules: the version the server speaks and that version's credentials as keys of
// the main configuration file; writing one version removes the other's keys.

#include <optional>
#include <string>

#include "rules/page_plan.h"
#include "rules/page_reading.h"

namespace azu {

// The version list's entries.
inline constexpr int kSnmpVersion1 = 0;
inline constexpr int kSnmpVersion3 = 1;
// The server's one SNMPv3 user.
inline constexpr const char* kSnmpUserName = "Vadmin";

struct SnmpFields {
  int version = kSnmpVersion1;  // the version list's selection
  std::string getCommunity;
  std::string setCommunity;
  std::string authPassword;
  std::string privPassword;
};

// Nothing (nullopt) for a selection that is no version; empty names and passwords are written as
// empty values.
std::optional<PagePlan> SnmpPlan(const SnmpFields& fields);
// maj_0.cfg → version, get-community, set-community, auth-password, priv-password (all but the
// version secret).
PageReading ReadSnmp(const std::optional<std::string>& mainConfig);

}  // namespace azu
