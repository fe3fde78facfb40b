#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "platform/atomic_replace.h"
#include "platform/file_descriptor.h"
#include "platform/folder_files_posix.h"

namespace azu::platform {
namespace {

constexpr mode_t kNewFileMode = 0644;
// Attempts at a temporary name of our own before giving up.
constexpr unsigned kNameAttempts = 100;

// A new file beside `name`, made exclusively and never through a link; its name in `temporary`.
int CreateTemporary(int folder, const std::string& name, std::string& temporary) {
  static std::atomic<unsigned> counter{0};
  for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt) {
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".azu%ld.%u", static_cast<long>(getpid()),
                  counter.fetch_add(1));
    temporary = name + suffix;
    const int fd = openat(folder, temporary.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// The owner and mode the new file takes: the old file's (without set-id bits when its owner
// could not be kept), owner-only on request, else readable by all.
bool Dress(int fd, const struct stat* old, bool ownerOnly) {
  if (ownerOnly) return fchmod(fd, S_IRUSR | S_IWUSR) == 0;
  if (old == nullptr) return fchmod(fd, kNewFileMode) == 0;
  return TakeOwnerAndMode(fd, *old);
}

}  // namespace

bool MayReplace(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return errno == ENOENT;
  if (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode)) return true;
  errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
  return false;
}

bool TakeOwnerAndMode(int fd, const struct stat& old) {
  const bool owned = fchown(fd, old.st_uid, old.st_gid) == 0;
  mode_t mode = old.st_mode & 07777;
  if (!owned) mode &= ~static_cast<mode_t>(S_ISUID | S_ISGID);
  return fchmod(fd, mode) == 0;
}

bool ReplaceInFolder(int folder, const std::string& name, std::string_view content, int* error,
                     ReplaceOptions options) {
  if (name.empty() || name == "." || name == "..") return FailWith(error, EINVAL);
  struct stat old {};
  bool existed = fstatat(folder, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
  if (!existed && errno != ENOENT) return FailWith(error, errno);
  if (existed && S_ISLNK(old.st_mode)) {
    if (options.refuseLink) return FailWith(error, ELOOP);
    existed = false;  // the link itself is replaced by a new file
  }
  if (existed && S_ISDIR(old.st_mode)) return FailWith(error, EISDIR);
  if (existed && !S_ISREG(old.st_mode)) return FailWith(error, EINVAL);

  std::string temporary;
  FileDescriptor file(CreateTemporary(folder, name, temporary));
  if (!file.Valid()) return FailWith(error, errno);
  bool ok = WriteAll(file.Get(), content) &&
            Dress(file.Get(), existed ? &old : nullptr, options.ownerOnly) &&
            fsync(file.Get()) == 0;
  int code = errno;
  if (!file.Close() && ok) {
    ok = false;
    code = errno;
  }
  // A rename replaces whatever is at `name` now, a link included, and never writes through it.
  if (ok && renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) {
    ok = false;
    code = errno;
  }
  if (!ok) {
    unlinkat(folder, temporary.c_str(), 0);
    return FailWith(error, code);
  }
  fsync(folder);  // so that the rename itself survives a crash
  return true;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view content, int* error,
                           bool owner_only) {
  if (path.empty()) return FailWith(error, ENOENT);
  const auto [parent, name] = SplitPath(path);
  const FileDescriptor folder(open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folder.Valid()) return FailWith(error, errno);
  return ReplaceInFolder(folder.Get(), name, content, error, {.ownerOnly = owner_only});
}

}  // namespace azu::platform
