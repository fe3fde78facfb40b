#pragma once
// Time for idle sessions and login delays; tests and fuzzing pass a fake.

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace azu::emulator {

// What the emulator needs of time: now, and waiting.
class Clock {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  virtual ~Clock() = default;
  virtual TimePoint Now() = 0;
  // Returns at `until`, or earlier when the server stops.
  virtual void SleepUntil(TimePoint until) = 0;
};

// The steady clock. Interrupt() wakes every sleeper for good, so a stop never waits on a delay.
class SystemClock final : public Clock {
 public:
  TimePoint Now() override { return std::chrono::steady_clock::now(); }
  void SleepUntil(TimePoint until) override;
  void Interrupt();

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  bool interrupted_ = false;
};

}  // namespace azu::emulator
