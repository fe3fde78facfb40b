#include "vireo/discovery_results.h"

#include <algorithm>
#include <utility>

namespace azu::vireo {

bool DiscoveryResults::Offer(std::uint32_t source, std::string_view datagram) {
  if (Full()) {
    return false;
  }
  const bool known = std::any_of(servers_.begin(), servers_.end(),
                                 [source](const auto& server) { return server.address == source; });
  if (known) {
    return false;
  }
  auto answer = ParseDiscoveryAnswer(datagram);
  if (!answer) {
    return false;
  }
  servers_.push_back(DiscoveredServer{source, std::move(*answer)});
  return true;
}

}  // namespace azu::vireo
