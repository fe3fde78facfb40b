#pragma once
// The file operations of the attachment state, behind one interface so that tests can make any
// of them fail. Every write replaces the file whole and atomically.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace azu {

class LocalFiles {
 public:
  virtual ~LocalFiles() = default;
  // The bytes of `path`; false with the system's error code (-1 when it gives none).
  virtual bool Read(const std::string& path, std::string& content, int* error) = 0;
  // Replaces `path` whole, atomically; false with the error code, the old file untouched.
  virtual bool Replace(const std::string& path, std::string_view content, int* error) = 0;
  // Size in bytes; nullopt when there is nothing at `path`.
  virtual std::optional<std::uintmax_t> Size(const std::string& path) = 0;
  // Renames `from` over `to` (same folder), flushed to disk; false with the error code, both
  // files then as they were.
  virtual bool Move(const std::string& from, const std::string& to, int* error) = 0;
  // True when the file was deleted.
  virtual bool Remove(const std::string& path) = 0;
};

// A line for the watcher's log (UTF-8, no line end).
using WatcherLog = std::function<void(std::string_view line)>;

// The machine's own files. Below `driveRoot` no symbolic link is ever followed: a path through
// one is refused, and told to `log`.
std::unique_ptr<LocalFiles> MakeSystemFiles(std::string driveRoot, WatcherLog log);

}  // namespace azu
