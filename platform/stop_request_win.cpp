#include <windows.h>

#include "platform/stop_request.h"

namespace azu::platform {
namespace {

StopRequest processStop;

BOOL WINAPI OnConsoleEvent(DWORD /*event*/) {
  // Every console event (Ctrl+C, Ctrl+Break, close, log-off, shut-down) asks for a stop; the
  // watcher ends on its own between steps.
  processStop.Request();
  return TRUE;
}

}  // namespace

StopRequest& ProcessStopRequest() {
  return processStop;
}

void CatchStopSignals() {
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

}  // namespace azu::platform
