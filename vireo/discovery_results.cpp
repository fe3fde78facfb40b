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
  // A key that contradicts the pin is another machine answering for a trusted address, or a
  // server whose key changed: either way a connect to it is refused, so the list leaves it out
  // rather than offer it. Like a malformed answer it does not take the address, so the real
  // server's answer still counts. Answers without a key (older servers) are kept.
  if (!answer->key.empty() && pinned_key_) {
    if (const auto pinned = pinned_key_(source); pinned && *pinned != answer->key) {
      return false;
    }
  }
  servers_.push_back(DiscoveredServer{source, std::move(*answer)});
  return true;
}

}  // namespace azu::vireo
