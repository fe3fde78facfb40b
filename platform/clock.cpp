#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace azu::platform {
namespace {

class SteadyClock final : public Clock {
 public:
  std::int64_t NowSeconds() override {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::seconds>(now).count();
  }
  void Sleep(std::uint32_t milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
};

}  // namespace

Clock& SystemClock() {
  static SteadyClock clock;
  return clock;
}

}  // namespace azu::platform
