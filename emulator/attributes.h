#pragma once
// The server's attribute defaults, kept across reboots in ROOT/.zorne/attributes as name=value
// lines; the file is rewritten atomically on every change.

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace azu::emulator {

// The attribute defaults in memory and on disk; thread-safe.
class AttributeStore {
 public:
  static constexpr std::size_t kMaxNameSize = 64;
  static constexpr std::size_t kMaxValueSize = 1024;

  // Loads `file` when present (the last line of a name wins; lines that are not name=value with
  // a valid name are skipped).
  explicit AttributeStore(std::filesystem::path file);

  // Name: [A-Za-z0-9_.-]{1,64}. Value: at most 1024 bytes, no control characters.
  static bool IsValidName(std::string_view name);
  static bool IsValidValue(std::string_view value);

  enum class Status { kOk, kRefused, kFailed };
  // Sets and persists; on kFailed the stored file and the values stay as they were.
  Status Set(std::string_view name, std::string_view value);

  std::map<std::string, std::string> Values() const;

 private:
  const std::filesystem::path file_;
  mutable std::mutex mutex_;
  std::map<std::string, std::string> values_;
};

}  // namespace azu::emulator
