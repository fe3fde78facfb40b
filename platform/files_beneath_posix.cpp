#include "platform/files_beneath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <tuple>

#include "platform/file_descriptor.h"
#include "platform/folder_files_posix.h"

namespace azu::platform {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// The error of a failed open of `name` in `folder`: ELOOP whenever a link is what stopped it,
// whatever code the system chose for that.
int OpenError(int folder, const char* name) {
  const int code = errno;
  struct stat status {};
  if (fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(status.st_mode)) {
    return ELOOP;
  }
  return code;
}

// The folder that holds the last component of `path` (its name in `name`); -1 with errno set.
// Below `root` no component is followed if it is a link; elsewhere only the name is not.
int OpenParent(const std::string& root, const std::string& path, std::string& name) {
  std::string parent;
  std::tie(parent, name) = SplitPath(path);
  const bool beneath = !root.empty() && path.size() > root.size() + 1 &&
                       path.compare(0, root.size(), root) == 0 && path[root.size()] == '/';
  if (!beneath) return open(parent.c_str(), kFolderFlags);
  int folder = open(root.c_str(), kFolderFlags);
  std::string_view rest = std::string_view(path).substr(root.size() + 1);
  while (folder >= 0) {
    const std::size_t next = rest.find('/');
    if (next == std::string_view::npos) break;
    const std::string component(rest.substr(0, next));
    rest.remove_prefix(next + 1);
    if (component.empty() || component == ".") continue;
    int below = -1;
    if (component == "..") {
      errno = EACCES;  // the walk never leaves the folder it was given
    } else {
      below = openat(folder, component.c_str(), kFolderFlags | O_NOFOLLOW);
      if (below < 0) errno = OpenError(folder, component.c_str());
    }
    const int code = errno;
    close(folder);
    errno = code;
    folder = below;
  }
  return folder;
}

}  // namespace

int LinkRefusedError() {
  return ELOOP;
}

bool FilesBeneath::Read(const std::string& path, std::string& content, int* error) const {
  std::string name;
  const FileDescriptor folder(OpenParent(root_, path, name));
  if (!folder.Valid()) return FailWith(error, errno);
  // Not blocking: a pipe planted under the name must not hold the watcher.
  FileDescriptor file(openat(folder.Get(), name.c_str(),
                             O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!file.Valid()) return FailWith(error, OpenError(folder.Get(), name.c_str()));
  struct stat status {};
  if (fstat(file.Get(), &status) != 0) return FailWith(error, errno);
  if (!S_ISREG(status.st_mode)) return FailWith(error, S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
  content.clear();
  char buffer[8192];
  for (;;) {
    const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return FailWith(error, errno);
    if (got == 0) return true;
    content.append(buffer, static_cast<std::size_t>(got));
  }
}

bool FilesBeneath::Replace(const std::string& path, std::string_view content, int* error) const {
  std::string name;
  const FileDescriptor folder(OpenParent(root_, path, name));
  if (!folder.Valid()) return FailWith(error, errno);
  return ReplaceInFolder(folder.Get(), name, content, error, {.refuseLink = true});
}

std::optional<std::uintmax_t> FilesBeneath::Size(const std::string& path) const {
  std::string name;
  const FileDescriptor folder(OpenParent(root_, path, name));
  struct stat status {};
  if (!folder.Valid() || fstatat(folder.Get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
    return std::nullopt;
  }
  if (S_ISREG(status.st_mode) || S_ISLNK(status.st_mode)) {
    return static_cast<std::uintmax_t>(status.st_size);
  }
  return 0;
}

bool FilesBeneath::Move(const std::string& from, const std::string& to, int* error) const {
  const auto [fromFolder, fromName] = SplitPath(from);
  std::string name;
  const FileDescriptor folder(OpenParent(root_, to, name));
  if (!folder.Valid()) return FailWith(error, errno);
  if (fromFolder != SplitPath(to).first) return FailWith(error, EXDEV);
  // Only a regular file moves, and only over a regular file or nothing.
  const auto refused = [&](const std::string& entry, bool mayBeMissing) {
    struct stat status {};
    if (fstatat(folder.Get(), entry.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
      return mayBeMissing && errno == ENOENT ? 0 : errno;
    }
    if (S_ISLNK(status.st_mode)) return ELOOP;
    if (S_ISDIR(status.st_mode)) return EISDIR;
    return S_ISREG(status.st_mode) ? 0 : EINVAL;
  };
  if (const int code = refused(fromName, false); code != 0) return FailWith(error, code);
  if (const int code = refused(name, true); code != 0) return FailWith(error, code);
  // The new file takes the old one's owner and mode, as a replacement does, before its name.
  struct stat old {};
  if (fstatat(folder.Get(), name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0) {
    const FileDescriptor file(
        openat(folder.Get(), fromName.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file.Valid()) return FailWith(error, errno);
    if (!TakeOwnerAndMode(file.Get(), old) || fsync(file.Get()) != 0) {
      return FailWith(error, errno);
    }
  }
  if (renameat(folder.Get(), fromName.c_str(), folder.Get(), name.c_str()) != 0) {
    return FailWith(error, errno);
  }
  fsync(folder.Get());  // the rename itself survives a crash
  return true;
}

bool FilesBeneath::Remove(const std::string& path) const {
  std::string name;
  const FileDescriptor folder(OpenParent(root_, path, name));
  struct stat status {};
  return folder.Valid() && fstatat(folder.Get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
         S_ISREG(status.st_mode) && unlinkat(folder.Get(), name.c_str(), 0) == 0;
}

}  // namespace azu::platform
