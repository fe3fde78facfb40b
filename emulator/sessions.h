#pragma once
// The logged-in sessions: 128-bit random tokens that end on logout, after idle time, at the end
// of their lifetime, or when the server reboots or restarts.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "emulator/clock.h"

namespace azu::emulator {

// The open sessions by token; thread-safe.
class SessionTable {
 public:
  struct Opened {
    std::string token;     // 32 lower-case hex digits, given to the client once
    std::uint64_t number;  // what the log shows instead of the token
  };
  enum class State { kValid, kUnknown, kExpired };
  struct Lookup {
    State state;
    std::uint64_t number;  // 0 when unknown
  };

  // A session ends after `idle` without use, and `lifetime` after its login in any case.
  SessionTable(Clock& clock, std::chrono::seconds idle, std::size_t capacity,
               std::chrono::seconds lifetime = std::chrono::hours(8));

  // A new session; nullopt when the table is full or no random bytes could be had.
  std::optional<Opened> Open();
  // Checks `token` and, when valid, counts this as use. An expired session is dropped and
  // reported once as kExpired, then kUnknown.
  Lookup Use(std::string_view token);
  // Ends the session; its number, or nullopt when unknown.
  std::optional<std::uint64_t> Close(std::string_view token);
  // Ends every session (reboot, restart); their numbers.
  std::vector<std::uint64_t> CloseAll();
  // Drops the sessions idle too long or past their lifetime; their numbers.
  std::vector<std::uint64_t> ExpireIdle();

 private:
  struct Session {
    std::uint64_t number;
    Clock::TimePoint opened;
    Clock::TimePoint last_use;
  };
  bool IsOver(const Session& session, Clock::TimePoint now) const;

  Clock& clock_;
  const std::chrono::seconds idle_;
  const std::size_t capacity_;
  const std::chrono::seconds lifetime_;
  std::mutex mutex_;
  // Keyed by the token's SHA-256, so a lookup's timing says nothing about stored tokens.
  std::unordered_map<std::string, Session> sessions_;
  std::uint64_t last_number_ = 0;
};

}  // namespace azu::emulator
