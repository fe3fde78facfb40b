#pragma once
// The Dual IP page's rules: the server's second address and mask as keys of the main
// configuration file with the port-filter rules and the attribute that go with them, or all of
// it removed again.

#include <span>
#include <string>

#include "rules/page_plan.h"
#include "rules/page_reading.h"

namespace azu {

inline constexpr int kDualIpAdd = 0;
inline constexpr int kDualIpDelete = 1;
inline constexpr const char* kDefaultDualIpMask = "255.255.255.255";

struct DualIpFields {
  int mode = kDualIpAdd;  // the radio group's selection
  std::string address;    // as the address controls show them
  std::string mask;
};

// The second address must not be the server's own, as far as the discovered list `servers`
// ("address name(model)" entries) tells.
CheckNotice CheckDualIp(const DualIpFields& fields, std::span<const std::string> servers,
                        const std::string& serverName);
// Nothing (nullopt) for a selection that is neither Add nor Delete. The plan's steps after the
// file change use `library`.
std::optional<PagePlan> DualIpPlan(const DualIpFields& fields, ServerLibrary& library);

// The second address whole: the keys of maj_0.cfg, the rules file (nullopt: none) and the
// attribute (nullopt: the library cannot read it; an inner nullopt: not set). `state` is present,
// absent, or incomplete when the three disagree (a failed add or delete leaves that); then
// address, mask and portfilters-enabled.
PageReading ReadDualIp(const std::optional<std::string>& mainConfig,
                       const std::optional<std::string>& rulesFile,
                       const std::optional<std::optional<std::string>>& attribute);

}  // namespace azu
