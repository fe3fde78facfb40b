#pragma once
// Replacing a file by name inside a folder held open, so that nothing between the folder and the
// file is looked up again and the file's own name is never followed if it is a link. Shared by
// ReplaceFileAtomically and FilesBeneath (POSIX only).

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

// As ReplaceFileAtomically, for `name` in the open folder `folder`. Anything but a regular file
// (or a link) at `name` is refused with EISDIR or EINVAL; the old file is then untouched.
bool ReplaceInFolder(int folder, const std::string& name, std::string_view content, int* error,
                     ReplaceOptions options);

}  // namespace azu::platform
