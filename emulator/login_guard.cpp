#include "emulator/login_guard.h"

#include <openssl/crypto.h>

#include <algorithm>

#include "emulator/digest.h"

namespace azu::emulator {

LoginGuard::LoginGuard(std::string_view user, std::string_view password, Clock& clock)
    : user_digest_(Sha256(user)), password_digest_(Sha256(password)), clock_(clock) {}

std::chrono::milliseconds LoginGuard::DelayAfter(int failures) {
  if (failures <= 0) return std::chrono::milliseconds{0};
  std::chrono::milliseconds delay = kFirstDelay;
  for (int i = 1; i < failures && delay < kLongestDelay; ++i) delay *= 2;
  return std::min(delay, kLongestDelay);
}

bool LoginGuard::Matches(std::string_view user, std::string_view password) const {
  // Equal-length digests compared in constant time: neither the length nor the first wrong
  // character of a guess shows in the answer time.
  const std::string user_digest = Sha256(user);
  const std::string password_digest = Sha256(password);
  if (user_digest.size() != user_digest_.size() ||
      password_digest.size() != password_digest_.size()) {
    return false;
  }
  const int user_differs =
      CRYPTO_memcmp(user_digest.data(), user_digest_.data(), user_digest.size());
  const int password_differs =
      CRYPTO_memcmp(password_digest.data(), password_digest_.data(), password_digest.size());
  return (user_differs | password_differs) == 0;
}

std::shared_ptr<LoginGuard::Address> LoginGuard::Enter(const std::string& client) {
  const std::lock_guard lock(mutex_);
  if (addresses_.size() >= kMostAddresses) {
    std::erase_if(addresses_, [](const auto& entry) { return entry.second->waiting == 0; });
  }
  std::shared_ptr<Address>& address = addresses_[client];
  if (!address) address = std::make_shared<Address>();
  // A clean address may log in as often at once as it likes; one with failures behind it
  // gets a few places in the queue.
  if (address->failures > 0 && address->waiting >= kMostWaiting) return nullptr;
  ++address->waiting;
  return address;
}

bool LoginGuard::IsCrowded(const Address& address) {
  const std::lock_guard lock(mutex_);
  return address.failures > 0 && address.waiting > kMostWaiting;
}

void LoginGuard::Leave(const std::string& client, const std::shared_ptr<Address>& address) {
  const std::lock_guard lock(mutex_);
  --address->waiting;
  // An address with nothing against it needs no entry; this keeps the table small.
  if (address->waiting == 0 && address->failures == 0) addresses_.erase(client);
}

std::size_t LoginGuard::WaitingAttempts(const std::string& client) {
  const std::lock_guard lock(mutex_);
  const auto found = addresses_.find(client);
  return found == addresses_.end() ? 0 : found->second->waiting;
}

LoginGuard::Outcome LoginGuard::Attempt(const std::string& client, std::string_view user,
                                        std::string_view password) {
  const std::shared_ptr<Address> address = Enter(client);
  if (!address) return Outcome::kBusy;
  Outcome outcome = Outcome::kRefused;
  {
    const std::lock_guard turn(address->turn);
    if (IsCrowded(*address)) {
      // Came in with a burst before the first failure; turned away like a later burst would be.
      outcome = Outcome::kBusy;
    } else if (Matches(user, password)) {
      address->failures = 0;
      outcome = Outcome::kAccepted;
    } else {
      address->failures = std::min(address->failures + 1, 64);
      clock_.SleepUntil(clock_.Now() + DelayAfter(address->failures));
    }
  }
  Leave(client, address);
  return outcome;
}

}  // namespace azu::emulator
