#pragma once
// Replacing a file by name inside a folder held open, so that nothing between the folder and the
// file is looked up again and the file's own name is never followed if it is a link. Shared by
// ReplaceFileAtomically and FilesBeneath (POSIX only).

#include <sys/stat.h>

#include <string>
#include <string_view>
#include <utility>

namespace azu::platform {

// False, with `code` (-1 when the system gave none) in `*error`.
inline bool FailWith(int* error, int code) {
  if (error != nullptr) *error = code != 0 ? code : -1;
  return false;
}

// The folder that holds the last component of `path`, and that component.
inline std::pair<std::string, std::string> SplitPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

struct ReplaceOptions {
  bool ownerOnly = false;   // readable and writable by the owner alone
  bool refuseLink = false;  // a link at the name fails with ELOOP instead of being replaced
};

// Whether a new file may take `path`'s name: nothing there, a regular file, or a link (the link
// itself is replaced). A device, fifo or folder under that name is never moved aside; false then
// with errno EINVAL or EISDIR.
bool MayReplace(const std::string& path);

// Gives the new file `fd` the owner and mode of the file it replaces (without set-id bits when
// the owner could not be kept: only a privileged writer can give it back).
bool TakeOwnerAndMode(int fd, const struct stat& old);

// As ReplaceFileAtomically, for `name` in the open folder `folder`. Anything but a regular file
// (or a link) at `name` is refused with EISDIR or EINVAL; the old file is then untouched.
bool ReplaceInFolder(int folder, const std::string& name, std::string_view content, int* error,
                     ReplaceOptions options);

}  // namespace azu::platform
