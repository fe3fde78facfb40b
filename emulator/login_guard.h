#pragma once
// Checks the administrator's user name and password, and slows down guessing: the answers to
// each client address's attempts are given one after another, and each failure's answer is
// delayed by a time that doubles with every consecutive failure of that address. Nobody waits
// inside: an attempt gets the time its answer is due, and the transport holds the answer till then.

#include <chrono>
#include <cstddef>
#include <deque>
#include <map>
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
    kRefused,  // wrong user or password
    kBusy,     // too many answers of this address are still due; not checked
  };
  struct Verdict {
    Outcome outcome;
    Clock::TimePoint answer_at;  // not to be answered earlier
  };

  static constexpr std::chrono::milliseconds kFirstDelay{250};
  static constexpr std::chrono::milliseconds kLongestDelay{5000};
  // Answers of an address with failures that may be due at once; more are turned away.
  static constexpr std::size_t kMostWaiting = 4;
  // Addresses remembered at most; beyond, those with no answer due are forgotten.
  static constexpr std::size_t kMostAddresses = 4096;

  LoginGuard(std::string_view user, std::string_view password, Clock& clock);

  Verdict Attempt(const std::string& client, std::string_view user, std::string_view password);

  // The delay after `failures` consecutive failures (1 → 250 ms, 2 → 500 ms, ... up to 5 s).
  static std::chrono::milliseconds DelayAfter(int failures);

 private:
  struct Address {
    int failures = 0;
    std::deque<Clock::TimePoint> due;  // answers not yet given, in order
  };
  bool Matches(std::string_view user, std::string_view password) const;
  void Forget(Clock::TimePoint now);

  const std::string user_digest_;
  const std::string password_digest_;
  Clock& clock_;
  std::mutex mutex_;
  std::map<std::string, Address> addresses_;
};

}  // namespace azu::emulator
