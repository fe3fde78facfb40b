// DISCOV_getZorneList and DISCOV_freeDiscoveredZorneExList of the C interface.

#include <chrono>
#include <string>

#include "server/vireo.h"
#include "vireo/c_boundary.h"
#include "vireo/discovery_list.h"
#include "vireo/discovery_socket.h"
#include "vireo/known_servers.h"
#include "vireo/server_address.h"
#include "vireo/settings.h"

namespace azu::vireo {
namespace {

VIREO_STATUS GetZorneList(int32_t seconds, int32_t capacity, DISCOV_ZorneEx*** list,
                          int32_t* count) {
  if (list == nullptr || count == nullptr) {
    return VIREO_E_ARGUMENT;
  }
  *list = nullptr;
  *count = 0;
  if (seconds <= 0 || capacity <= 0) {
    return VIREO_E_ARGUMENT;
  }
  const auto port = DefaultPort();
  if (!port) {
    return VIREO_E_DISCOVERY;
  }
  const auto targets = DiscoveryTargets(*port);
  if (!targets) {
    return VIREO_E_DISCOVERY;
  }
  // A listed server is reached at its address and the default port, so that is its pin.
  const KnownServers known(DefaultKnownServersFile());
  const std::string port_suffix = std::string(":").append(std::to_string(*port));
  DiscoveryResults results(static_cast<std::size_t>(capacity),
                           [&known, &port_suffix](std::uint32_t address) {
                             return known.Pinned(FormatIpv4(address) + port_suffix);
                           });
  if (const VIREO_STATUS status = Discover(*targets, std::chrono::seconds(seconds), results);
      status != VIREO_OK) {
    return status;
  }
  DISCOV_ZorneEx** made = MakeZorneList(results.Servers());
  if (made == nullptr) {
    return VIREO_E_NO_MEMORY;
  }
  *list = made;
  *count = static_cast<int32_t>(results.Servers().size());
  return VIREO_OK;
}

}  // namespace
}  // namespace azu::vireo

using azu::vireo::Guarded;

extern "C" {

VIREO_API VIREO_STATUS DISCOV_getZorneList(int32_t seconds, int32_t capacity, int32_t /*reserved1*/,
                                           int32_t /*reserved2*/, int32_t /*reserved3*/,
                                           int32_t /*reserved4*/, int32_t /*reserved5*/,
                                           DISCOV_ZorneEx*** list, int32_t* count,
                                           int32_t /*flags*/) {
  return Guarded([&] { return azu::vireo::GetZorneList(seconds, capacity, list, count); });
}

VIREO_API VIREO_STATUS DISCOV_freeDiscoveredZorneExList(DISCOV_ZorneEx** list, int32_t count,
                                                        int32_t /*flags*/) {
  return Guarded([&] {
    if (list == nullptr || count < 0) {
      return VIREO_E_ARGUMENT;
    }
    return azu::vireo::FreeZorneList(list) ? VIREO_OK : VIREO_E_ARGUMENT;
  });
}

}  // extern "C"
