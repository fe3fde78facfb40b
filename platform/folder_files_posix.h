#pragma once
// Replacing a file by name inside a folder held open, so that nothing between the folder and the
// file is looked up again and the file's own name is never followed if it is a link. Shared by
// ReplaceFileAtomically and FilesBeneath (POSIX only).

#include <string>
#include <string_view>

namespace azu::platform {

struct ReplaceOptions {
  bool ownerOnly = false;   // readable and writable by the owner alone
  bool refuseLink = false;  // a link at the name fails with ELOOP instead of being replaced
};

// As ReplaceFileAtomically, for `name` in the open folder `folder`. Anything but a regular file
// (or a link) at `name` is refused with EISDIR or EINVAL; the old file is then untouched.
bool ReplaceInFolder(int folder, const std::string& name, std::string_view content, int* error,
                     ReplaceOptions options);

}  // namespace azu::platform
