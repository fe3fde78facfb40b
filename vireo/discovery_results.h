#pragma once
// The servers that answered one discovery: at most `capacity`, one per source address, the
// first well-formed answer of each address kept.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "vireo/discovery_answer.h"

namespace azu::vireo {

struct DiscoveredServer {
  std::uint32_t address = 0;  // where the answer came from, host byte order
  DiscoveryAnswer answer;
};

// The key fingerprint pinned for the server at `address` (host byte order), or nullopt.
using PinnedKeyLookup = std::function<std::optional<std::string>(std::uint32_t address)>;

class DiscoveryResults {
 public:
  explicit DiscoveryResults(std::size_t capacity, PinnedKeyLookup pinned_key = {})
      : capacity_(capacity), pinned_key_(std::move(pinned_key)) {}

  // Keeps the answer in `datagram` from `source` unless it is malformed, it shows a key other
  // than the one pinned for `source`, the address answered already, or the results are full.
  // True when it was kept.
  bool Offer(std::uint32_t source, std::string_view datagram);
  [[nodiscard]] bool Full() const { return servers_.size() >= capacity_; }
  [[nodiscard]] const std::vector<DiscoveredServer>& Servers() const { return servers_; }

 private:
  std::size_t capacity_;
  PinnedKeyLookup pinned_key_;
  std::vector<DiscoveredServer> servers_;
};

}  // namespace azu::vireo
