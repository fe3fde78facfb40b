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

// The events log file plus its echo; thread-safe, one write per line.
class EventLog {
 public:
  // Appends to `file` (created when missing) and echoes each line to `echo` unless null.
  // nullptr when the file cannot be opened.
  static std::unique_ptr<EventLog> Open(const std::filesystem::path& file, std::FILE* echo);
  ~EventLog();
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;

  void Record(std::string_view event, std::initializer_list<Detail> details);

 private:
  EventLog(int fd, std::FILE* echo) : fd_(fd), echo_(echo) {}

  std::mutex mutex_;
  int fd_;
  std::FILE* echo_;
};

// A value as the log shows it: bytes outside printable ASCII, spaces, '=' and '\' become \xNN,
// so a line stays one line and its details split on spaces. Long values are cut with "...".
std::string EscapeForLog(std::string_view value);

// `time` as RFC 3339 UTC with milliseconds, e.g. 2024-05-01T12:00:00.123Z.
std::string Rfc3339Utc(std::chrono::system_clock::time_point time);

}  // namespace azu::emulator
