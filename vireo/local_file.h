#pragma once
// The caller's local files: read whole with a size limit, written whole or not at all.

#include <cstddef>
#include <string>
#include <string_view>

namespace azu::vireo {

enum class LocalRead { kOk, kUnreadable, kTooLarge };

// Reads the whole file into `content`; a file over `max_bytes` is not read at all.
[[nodiscard]] LocalRead ReadLocalFile(const std::string& path, std::size_t max_bytes,
                                      std::string& content);

// Replaces `path` with `content`: written to a new file beside it (mode 0600), flushed to disk,
// then renamed over it. On failure `path` is untouched and nothing is left behind.
[[nodiscard]] bool WriteLocalFileWhole(const std::string& path, std::string_view content);

}  // namespace azu::vireo
