#include "emulator/discovery_limiter.h"

#include <algorithm>

namespace azu::emulator {

void DiscoveryLimiter::Refill(Bucket& bucket, TimePoint now, double per_second, double most) {
  if (now <= bucket.filled) return;
  const std::chrono::duration<double> passed = now - bucket.filled;
  bucket.tokens = std::min(most, bucket.tokens + passed.count() * per_second);
  bucket.filled = now;
}

bool DiscoveryLimiter::Allow(std::uint32_t address, TimePoint now) {
  auto found = by_address_.find(address);
  if (found == by_address_.end()) {
    askers_.push_front({address, {limits_.burst, now}});
    found = by_address_.emplace(address, askers_.begin()).first;
    if (askers_.size() > std::max<std::size_t>(limits_.addresses, 1)) {
      by_address_.erase(askers_.back().address);
      askers_.pop_back();
    }
  } else {
    askers_.splice(askers_.begin(), askers_, found->second);
  }
  Bucket& own = found->second->bucket;
  Refill(own, now, limits_.per_second, limits_.burst);
  Refill(total_, now, limits_.total_per_second, limits_.total_per_second);
  // Both must allow it before either pays, so a full total does not also drain the asker.
  if (own.tokens < 1 || total_.tokens < 1) return false;
  own.tokens -= 1;
  total_.tokens -= 1;
  return true;
}

}  // namespace azu::emulator
