#include <windows.h>

#include <cstdio>

#include "platform/atomic_replace.h"

namespace azu::platform {
namespace {

bool WriteAll(HANDLE file, std::string_view content) {
  while (!content.empty()) {
    const DWORD chunk =
        content.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(content.size());
    DWORD written = 0;
    if (!WriteFile(file, content.data(), chunk, &written, nullptr)) return false;
    content.remove_prefix(written);
  }
  return true;
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view content, int* error,
                           bool /*owner_only*/) {
  const auto fail = [error](DWORD code) {
    if (error != nullptr) *error = code != 0 ? static_cast<int>(code) : -1;
    return false;
  };
  if (path.empty()) return fail(ERROR_FILE_NOT_FOUND);
  // A name of our own beside the target; CREATE_NEW refuses one that is already there.
  HANDLE file = INVALID_HANDLE_VALUE;
  std::string temporary;
  for (unsigned attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".azu%lu_%u", GetCurrentProcessId(), attempt);
    temporary = path + suffix;
    file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) return fail(GetLastError());
  bool ok = WriteAll(file, content) && FlushFileBuffers(file);
  DWORD code = GetLastError();
  if (!CloseHandle(file) && ok) {
    ok = false;
    code = GetLastError();
  }
  if (ok && !MoveFileExA(temporary.c_str(), path.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ok = false;
    code = GetLastError();
  }
  if (!ok) {
    DeleteFileA(temporary.c_str());
    return fail(code);
  }
  return true;
}

}  // namespace azu::platform
