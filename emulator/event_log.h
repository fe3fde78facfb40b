#pragma once
// The emulator's record of what reached it: ROOT/.zorne/events.log and, for the person watching,
// standard output. One line per event: `<UTC time RFC 3339> <event> <details>`.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace azu::emulator {

// One `key=value` of an event's details; the value is escaped for the log.
struct Detail {
  std::string_view key;
  std::string_view value;
};

// The events log file plus its echo; thread-safe, one write per line. A full file becomes
// `file`.1 (the one before is dropped) and a new file starts, so the log's disk use is bounded.
// Only a regular file that is still the one opened is moved; anything else is written on as is.
class EventLog {
 public:
  static constexpr std::size_t kDefaultMaxSize = std::size_t{1024} * 1024;

  // Appends to `file` (created when missing) and echoes each line to `echo` unless null. A line
  // that would take the file past `max_size` goes into a new file. nullptr when the file cannot
  // be opened.
  static std::unique_ptr<EventLog> Open(const std::filesystem::path& file, std::FILE* echo,
                                        std::size_t max_size = kDefaultMaxSize);
  ~EventLog();
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;

  void Record(std::string_view event, std::initializer_list<Detail> details);

 private:
  EventLog(std::filesystem::path file, int fd, std::size_t size, std::FILE* echo,
           std::size_t max_size)
      : file_(std::move(file)), fd_(fd), size_(size), echo_(echo), max_size_(max_size) {}
  // Moves the full file aside and opens a new one; on failure it goes on in the old file.
  void Rotate();
  // True while the name still leads to the regular file the descriptor holds.
  [[nodiscard]] bool StillOurRegularFile() const;

  std::mutex mutex_;
  const std::filesystem::path file_;
  int fd_;
  std::size_t size_;
  std::FILE* echo_;
  const std::size_t max_size_;
  bool rotating_ = true;  // off once the file proved not ours to move
};

// A value as the log shows it: bytes outside printable ASCII, spaces, '=' and '\' become \xNN,
// so a line stays one line and its details split on spaces. Long values are cut with "...".
std::string EscapeForLog(std::string_view value);

// `time` as RFC 3339 UTC with milliseconds, e.g. 2024-05-01T12:00:00.123Z.
std::string Rfc3339Utc(std::chrono::system_clock::time_point time);

}  // namespace azu::emulator
