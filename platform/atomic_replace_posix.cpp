#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/atomic_replace.h"

namespace azu::platform {
namespace {

constexpr mode_t kNewFileMode = 0644;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = write(fd, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// So that the rename itself survives a crash.
void SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view content, int* error,
                           bool owner_only) {
  const auto fail = [error](int code) {
    if (error != nullptr) *error = code != 0 ? code : -1;
    return false;
  };
  if (path.empty()) return fail(ENOENT);
  std::string pattern = path + ".azuXXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkostemp(name.data(), O_CLOEXEC);  // exclusive, owner-only until it is done
  if (fd < 0) return fail(errno);
  const std::string temporary(name.data());
  struct stat old {};
  const bool existed = stat(path.c_str(), &old) == 0;
  bool ok = WriteAll(fd, content);
  if (ok && owner_only) {
    ok = fchmod(fd, 0600) == 0;
  } else if (ok && existed) {
    // Only a privileged writer can give the file back to its owner; the mode follows anyway.
    [[maybe_unused]] const int owned = fchown(fd, old.st_uid, old.st_gid);
    ok = fchmod(fd, old.st_mode & 07777) == 0;
  } else if (ok) {
    ok = fchmod(fd, kNewFileMode) == 0;
  }
  ok = ok && fsync(fd) == 0;
  const int code = errno;
  if (close(fd) != 0 && ok) ok = false;
  if (!ok) {
    unlink(temporary.c_str());
    return fail(code);
  }
  if (rename(temporary.c_str(), path.c_str()) != 0) {
    const int renameError = errno;
    unlink(temporary.c_str());
    return fail(renameError);
  }
  SyncFolder(FolderOf(path));
  return true;
}

}  // namespace azu::platform
