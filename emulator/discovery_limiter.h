#pragma once
// Which discovery requests get an answer. A datagram's sender address can be forged, so without
// a limit the server would send answers at any host someone names: each address gets a few
// answers at once and then a steady trickle, and all askers together a fixed most per second.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>

namespace azu::emulator {

// Token buckets per asker address and for everyone; time comes from the caller. Not thread-safe:
// the discovery loop is one thread.
class DiscoveryLimiter {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  struct Limits {
    double burst = 4;               // answers one address gets at once
    double per_second = 2;          // and then per second
    std::size_t addresses = 4096;   // addresses remembered; the longest unseen is forgotten
    double total_per_second = 200;  // answers to everyone together (also the total burst)
  };

  DiscoveryLimiter() : DiscoveryLimiter(Limits{}) {}
  explicit DiscoveryLimiter(Limits limits) : limits_(limits), total_{limits.total_per_second, {}} {}

  // Whether the asker at `address` (IPv4, any byte order, used as a key) is answered at `now`;
  // a yes uses up one answer.
  bool Allow(std::uint32_t address, TimePoint now);

 private:
  struct Bucket {
    double tokens;
    TimePoint filled;
  };
  static void Refill(Bucket& bucket, TimePoint now, double per_second, double most);

  struct Asker {
    std::uint32_t address;
    Bucket bucket;
  };

  const Limits limits_;
  Bucket total_;
  std::list<Asker> askers_;  // the latest asker first
  std::unordered_map<std::uint32_t, std::list<Asker>::iterator> by_address_;
};

}  // namespace azu::emulator
