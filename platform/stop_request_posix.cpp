#include <csignal>

#include "platform/stop_request.h"

namespace azu::platform {
namespace {

// Constant-initialised, so a signal can never find it half made.
StopRequest processStop;
static_assert(std::atomic<bool>::is_always_lock_free,
              "a signal handler may only touch lock-free atomics");

extern "C" void OnStopSignal(int /*signal*/) {
  processStop.Request();
}

}  // namespace

StopRequest& ProcessStopRequest() {
  return processStop;
}

void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a wait that a stop interrupts returns at once instead of running on.
  action.sa_flags = 0;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

}  // namespace azu::platform
