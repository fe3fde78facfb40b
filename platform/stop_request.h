#pragma once
// A stop asked of a long-running process, by a signal (POSIX: SIGTERM, SIGINT, SIGHUP; Windows:
// Ctrl+C, Ctrl+Break, the console closed, log-off or shut-down) or by a test. Loops look at it
// between their steps, so whatever a step began is finished or undone before the process ends.

#include <atomic>

namespace azu::platform {

class StopRequest {
 public:
  constexpr StopRequest() = default;
  [[nodiscard]] bool Requested() const { return requested_.load(std::memory_order_relaxed); }
  void Request() { requested_.store(true, std::memory_order_relaxed); }

 private:
  std::atomic<bool> requested_{false};
};

// The process's own request; the stop signals set it once CatchStopSignals() has run.
StopRequest& ProcessStopRequest();
void CatchStopSignals();

}  // namespace azu::platform
