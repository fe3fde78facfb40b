#pragma once
// Time as the headless watcher sees it: whole seconds for listening limits, pauses in
// milliseconds. Tests put a clock in its place that never really waits.

#include <cstdint>

#include "platform/stop_request.h"

namespace azu::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Whole seconds of a clock that never goes back (a stepped wall clock would stretch or cut a
  // listening phase).
  virtual std::int64_t NowSeconds() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // A pause that a stop request cuts short; true when it ran its whole length unstopped.
  virtual bool SleepUnlessStopped(std::uint32_t milliseconds, const StopRequest& stop) {
    if (!stop.Requested()) Sleep(milliseconds);
    return !stop.Requested();
  }
};

// The system's steady clock and a real sleep.
Clock& SystemClock();

}  // namespace azu::platform
