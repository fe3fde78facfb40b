#include "platform/clock.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace azu::platform {
namespace {

// How soon a pause notices a stop request.
constexpr std::chrono::milliseconds kStopCheckInterval{100};

class SteadyClock final : public Clock {
 public:
  std::int64_t NowSeconds() override {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::seconds>(now).count();
  }
  void Sleep(std::uint32_t milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
  bool SleepUnlessStopped(std::uint32_t milliseconds, const StopRequest& stop) override {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!stop.Requested()) {
      const auto left = end - std::chrono::steady_clock::now();
      if (left <= std::chrono::steady_clock::duration::zero()) return true;
      std::this_thread::sleep_for(
          std::min<std::chrono::steady_clock::duration>(left, kStopCheckInterval));
    }
    return false;
  }
};

}  // namespace

Clock& SystemClock() {
  static SteadyClock clock;
  return clock;
}

}  // namespace azu::platform
