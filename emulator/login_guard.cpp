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

void LoginGuard::Forget(Clock::TimePoint now) {
  std::erase_if(addresses_, [now](const auto& entry) {
    return entry.second.due.empty() || entry.second.due.back() <= now;
  });
}

LoginGuard::Verdict LoginGuard::Attempt(const std::string& client, std::string_view user,
                                        std::string_view password) {
  const bool matches = Matches(user, password);
  const std::lock_guard lock(mutex_);
  const Clock::TimePoint now = clock_.Now();
  if (addresses_.size() >= kMostAddresses) Forget(now);
  Address& address = addresses_[client];
  while (!address.due.empty() && address.due.front() <= now) address.due.pop_front();
  // A clean address may log in as often at once as it likes; one with failures behind it
  // gets a few places in the queue.
  if (address.failures > 0 && address.due.size() >= kMostWaiting) return {Outcome::kBusy, now};
  const Clock::TimePoint turn = address.due.empty() ? now : address.due.back();
  Verdict verdict{Outcome::kAccepted, turn};
  if (matches) {
    address.failures = 0;
  } else {
    address.failures = std::min(address.failures + 1, 64);
    verdict = {Outcome::kRefused, turn + DelayAfter(address.failures)};
  }
  // An address with nothing against it needs no entry; this keeps the table small.
  if (address.failures == 0 && verdict.answer_at <= now) {
    addresses_.erase(client);
  } else {
    address.due.push_back(verdict.answer_at);
  }
  return verdict;
}

}  // namespace azu::emulator
