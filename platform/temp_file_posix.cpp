#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/temp_file.h"

namespace azu::platform {

std::string TemporaryFolder() {
  for (const char* variable : {"TEMP", "TMPDIR"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return "/tmp";
}

std::optional<TempFile> TempFile::Create(int* error) {
  std::string folder = TemporaryFolder();
  if (folder.back() != '/') folder += '/';
  std::string pattern = folder + "azuXXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());  // O_EXCL, mode 0600
  if (fd < 0) {
    if (error != nullptr) *error = errno;
    return std::nullopt;
  }
  close(fd);
  return TempFile(std::string(name.data()));
}

bool TempFile::Remove() {
  if (path_.empty()) return true;
  const bool gone = std::remove(path_.c_str()) == 0 || errno == ENOENT;
  if (gone) path_.clear();
  return gone;
}

}  // namespace azu::platform
