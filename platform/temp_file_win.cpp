#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "platform/temp_file.h"

namespace azu::platform {

std::string TemporaryFolder() {
  for (const char* variable : {"TEMP", "TMPDIR"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof buffer, buffer);
  return length > 0 && length <= MAX_PATH ? std::string(buffer, length) : std::string(".");
}

std::optional<TempFile> TempFile::Create(int* error) {
  char name[MAX_PATH] = {};
  // Creates the file exclusively under a unique name; the temporary folder's ACL keeps it the
  // user's own.
  if (GetTempFileNameA(TemporaryFolder().c_str(), "azu", 0, name) == 0) {
    if (error != nullptr) *error = static_cast<int>(GetLastError());
    return std::nullopt;
  }
  return TempFile(std::string(name));
}

bool TempFile::Remove() {
  if (path_.empty()) return true;
  const bool gone = DeleteFileA(path_.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
  if (gone) path_.clear();
  return gone;
}

}  // namespace azu::platform
