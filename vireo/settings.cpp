#include "vireo/settings.h"

#include <cstdlib>
#include <string_view>

#include "vireo/protocol.h"

namespace azu::vireo {

std::optional<std::uint16_t> DefaultPortFrom(const char* value) {
  if (value == nullptr || *value == '\0') {
    return kDefaultPort;
  }
  return ParsePort(value);
}

std::optional<std::vector<Ipv4Endpoint>> DiscoveryTargetsFrom(const char* value,
                                                              std::uint16_t default_port) {
  return ParseDiscoveryTargets(value != nullptr ? std::string_view(value) : kDefaultDiscoveryTarget,
                               default_port);
}

std::optional<std::uint16_t> DefaultPort() {
  return DefaultPortFrom(std::getenv(kPortVariable));
}

std::optional<std::vector<Ipv4Endpoint>> DiscoveryTargets(std::uint16_t default_port) {
  return DiscoveryTargetsFrom(std::getenv(kDiscoveryTargetsVariable), default_port);
}

}  // namespace azu::vireo
