#pragma once
// The library's own settings from the environment (VIREO_PORT, VIREO_DISCOVERY_TARGETS); the
// program sets neither, tests and the demo do.

#include <cstdint>
#include <optional>
#include <vector>

#include "vireo/server_address.h"

namespace azu::vireo {

// The port of a server given without one: `value` of VIREO_PORT (null or empty: 9631);
// nullopt when it is malformed.
[[nodiscard]] std::optional<std::uint16_t> DefaultPortFrom(const char* value);

// Where the discovery datagram goes: `value` of VIREO_DISCOVERY_TARGETS (null: the broadcast
// address); nullopt when it is malformed or empty, so a mistyped setting never broadcasts.
[[nodiscard]] std::optional<std::vector<Ipv4Endpoint>> DiscoveryTargetsFrom(
    const char* value, std::uint16_t default_port);

// The same, read from the process environment.
[[nodiscard]] std::optional<std::uint16_t> DefaultPort();
[[nodiscard]] std::optional<std::vector<Ipv4Endpoint>> DiscoveryTargets(std::uint16_t default_port);

}  // namespace azu::vireo
