#pragma once
// Checks the administrator's user name and password, and slows down guessing: each client
// address's attempts are taken one at a time, and each failure is answered after a delay that
// doubles with every consecutive failure of that address.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "emulator/clock.h"

namespace azu::emulator {

// The one administrator's credentials and the per-address brake on guessing; thread-safe.
class LoginGuard {
 public:
  enum class Outcome {
    kAccepted,
    kRefused,  // wrong user or password, answered after the delay
    kBusy,     // too many attempts of this address already wait; not checked
  };

  static constexpr std::chrono::milliseconds kFirstDelay{250};
  static constexpr std::chrono::milliseconds kLongestDelay{5000};
  // Attempts of an address with failures that may wait at once; more would only tie up server
  // threads.
  static constexpr std::size_t kMostWaiting = 4;
  // Addresses remembered at most; beyond, those with no attempt waiting are forgotten.
  static constexpr std::size_t kMostAddresses = 4096;

  LoginGuard(std::string_view user, std::string_view password, Clock& clock);

  // Blocks this caller only: other addresses go on meanwhile.
  Outcome Attempt(const std::string& client, std::string_view user, std::string_view password);

  // Attempts of `client` now in progress (waiting their turn or their delay).
  std::size_t WaitingAttempts(const std::string& client);

  // The delay after `failures` consecutive failures (1 → 250 ms, 2 → 500 ms, ... up to 5 s).
  static std::chrono::milliseconds DelayAfter(int failures);

 private:
  struct Address {
    std::mutex turn;  // held for one whole attempt, so attempts of an address queue up
    std::atomic<int> failures = 0;
    std::size_t waiting = 0;  // guarded by LoginGuard::mutex_
  };
  bool Matches(std::string_view user, std::string_view password) const;
  std::shared_ptr<Address> Enter(const std::string& client);
  bool IsCrowded(const Address& address);
  void Leave(const std::string& client, const std::shared_ptr<Address>& address);

  const std::string user_digest_;
  const std::string password_digest_;
  Clock& clock_;
  std::mutex mutex_;
  std::map<std::string, std::shared_ptr<Address>> addresses_;
};

}  // namespace azu::emulator
