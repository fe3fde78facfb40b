#include "emulator/clock.h"

namespace azu::emulator {

void SystemClock::SleepUntil(TimePoint until) {
  std::unique_lock lock(mutex_);
  wake_.wait_until(lock, until, [this] { return interrupted_; });
}

void SystemClock::Interrupt() {
  {
    const std::lock_guard lock(mutex_);
    interrupted_ = true;
  }
  wake_.notify_all();
}

}  // namespace azu::emulator
