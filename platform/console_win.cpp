#include "platform/console.h"

#include <windows.h>

#include <cstdio>

namespace azu::platform {
namespace {

bool Redirected(DWORD which) {
  const HANDLE handle = GetStdHandle(which);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

}  // namespace

void UseStartingConsole() {
  const bool out = Redirected(STD_OUTPUT_HANDLE);
  const bool err = Redirected(STD_ERROR_HANDLE);
  if ((out && err) || AttachConsole(ATTACH_PARENT_PROCESS) == FALSE) return;
  // A stream the caller gave keeps going where it goes; only the missing ones reach the console.
  if (!out && std::freopen("CONOUT$", "w", stdout) == nullptr) return;
  if (!err && std::freopen("CONOUT$", "w", stderr) != nullptr)
    std::setvbuf(stderr, nullptr, _IONBF, 0);
}

}  // namespace azu::platform
