#pragma once
// The caller's local files: sent as they are read, with a size limit, and replaced whole or not
// at all.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace azu::vireo {

enum class LocalRead { kOk, kUnreadable, kTooLarge };

// A local file sent as it is read, so it never sits whole in memory.
class LocalFileSource {
 public:
  // nullptr and `status` kUnreadable or kTooLarge (over `max_bytes`; then not read at all).
  [[nodiscard]] static std::unique_ptr<LocalFileSource> Open(const std::string& path,
                                                             std::size_t max_bytes,
                                                             LocalRead& status);
  ~LocalFileSource();
  LocalFileSource(const LocalFileSource&) = delete;
  LocalFileSource& operator=(const LocalFileSource&) = delete;

  // The size when opened: what is sent.
  [[nodiscard]] std::uint64_t Size() const { return size_; }
  // The next piece into `buffer`; nullopt when the file cannot be read or no longer has the size
  // it had (also: 0 before the end).
  [[nodiscard]] std::optional<std::size_t> Read(char* buffer, std::size_t room);
  // Whether a Read() failed.
  [[nodiscard]] bool Failed() const { return failed_; }

 private:
  LocalFileSource(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
  int fd_;
  std::uint64_t size_;
  std::uint64_t read_ = 0;
  bool failed_ = false;
};

// The replacement of one local file as its content arrives: written to a new file beside it
// (mode 0600), renamed over it by Commit(). Without Commit() the path is untouched and the new
// file removed.
class LocalFileReplacement {
 public:
  // nullptr when no file can be made beside `path`.
  [[nodiscard]] static std::unique_ptr<LocalFileReplacement> Create(const std::string& path);
  ~LocalFileReplacement();
  LocalFileReplacement(const LocalFileReplacement&) = delete;
  LocalFileReplacement& operator=(const LocalFileReplacement&) = delete;

  [[nodiscard]] bool Write(std::string_view piece);
  [[nodiscard]] bool Commit();

 private:
  struct Parts;
  explicit LocalFileReplacement(std::unique_ptr<Parts> parts);
  std::unique_ptr<Parts> parts_;
};

// Replaces `path` with `content` as LocalFileReplacement does. On failure `path` is untouched and
// nothing is left behind.
[[nodiscard]] bool WriteLocalFileWhole(const std::string& path, std::string_view content);

}  // namespace azu::vireo
