#pragma once
// One discovery on the network: the request datagram to each target, then the answers until the
// time is up or the results are full.

#include <chrono>
#include <vector>

#include "server/vireo.h"
#include "vireo/discovery_results.h"
#include "vireo/server_address.h"

namespace azu::vireo {

// VIREO_OK with the answers in `results`, or VIREO_E_DISCOVERY when the socket cannot be opened
// or no target could be sent to.
[[nodiscard]] VIREO_STATUS Discover(const std::vector<Ipv4Endpoint>& targets,
                                    std::chrono::milliseconds listen_for,
                                    DiscoveryResults& results);

}  // namespace azu::vireo
