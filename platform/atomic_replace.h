#pragma once
// Replaces a file whole so that a reader, a crash or a full disk leaves the old content or the
// new one, never a mix: a new file in the same folder, flushed to disk, renamed over the old one.

#include <string>
#include <string_view>

namespace azu::platform {

// The new file keeps the old one's permissions (and owner, where we may set it); a file that did
// not exist is made readable by all, writable by the owner. With `owner_only` it is readable and
// writable by its owner alone in any case (on POSIX; on Windows the folder's access applies).
// A symbolic link at `path` is replaced by the new file, never written through.
// False with the system's error code in `*error`; the old file is then untouched and nothing is
// left behind.
[[nodiscard]] bool ReplaceFileAtomically(const std::string& path, std::string_view content,
                                         int* error, bool owner_only = false);

}  // namespace azu::platform
