#include "emulator/event_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>

namespace azu::emulator {
namespace {

// Keeps one hostile request from writing megabytes into the log.
constexpr std::size_t kMaxLoggedValue = 512;

int OpenForAppend(const std::filesystem::path& file) {
  return ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
}

}  // namespace

std::unique_ptr<EventLog> EventLog::Open(const std::filesystem::path& file, std::FILE* echo,
                                         std::size_t max_size) {
  const int fd = OpenForAppend(file);
  if (fd < 0) return nullptr;
  struct stat info {};
  const std::size_t size = ::fstat(fd, &info) == 0 ? static_cast<std::size_t>(info.st_size) : 0;
  return std::unique_ptr<EventLog>(new EventLog(file, fd, size, echo, max_size));
}

bool EventLog::StillOurRegularFile() const {
  // Checked on the descriptor: the name may have come to mean another file since it was opened.
  struct stat opened {};
  struct stat named {};
  return ::fstat(fd_, &opened) == 0 && S_ISREG(opened.st_mode) &&
         ::lstat(file_.c_str(), &named) == 0 && S_ISREG(named.st_mode) &&
         named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

void EventLog::Rotate() {
  // A device, a fifo or a file put in its place is not ours to move: writing goes on where it is.
  if (!StillOurRegularFile()) {
    rotating_ = false;
    std::fprintf(stderr,
                 "zorne-emulator: %s is not the regular file opened as the events log; "
                 "it is not rotated\n",
                 file_.c_str());
    return;
  }
  std::filesystem::path old = file_;
  old += ".1";
  if (::rename(file_.c_str(), old.c_str()) != 0) return;
  const int fd = OpenForAppend(file_);
  if (fd < 0) return;  // the renamed file still takes the lines
  ::close(fd_);
  fd_ = fd;
  size_ = 0;
}

EventLog::~EventLog() {
  ::close(fd_);
}

void EventLog::Record(std::string_view event, std::initializer_list<Detail> details) {
  std::string line = Rfc3339Utc(std::chrono::system_clock::now());
  line += ' ';
  line += event;
  for (const Detail& detail : details) {
    line += ' ';
    line += detail.key;
    line += '=';
    line += EscapeForLog(detail.value);
  }
  line += '\n';
  const std::lock_guard lock(mutex_);
  if (rotating_ && size_ > 0 && size_ + line.size() > max_size_) Rotate();
  // One write per line, so a reader never sees half a line of two events.
  std::string_view rest = line;
  while (!rest.empty()) {
    const ssize_t written = ::write(fd_, rest.data(), rest.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) break;
    rest.remove_prefix(static_cast<std::size_t>(written));
    size_ += static_cast<std::size_t>(written);
  }
  if (echo_ != nullptr) {
    std::fwrite(line.data(), 1, line.size(), echo_);
    std::fflush(echo_);
  }
}

std::string EscapeForLog(std::string_view value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string escaped;
  const std::size_t shown = std::min(value.size(), kMaxLoggedValue);
  for (std::size_t i = 0; i < shown; ++i) {
    const auto byte = static_cast<unsigned char>(value[i]);
    if (byte > 0x20 && byte < 0x7F && byte != '\\' && byte != '=') {
      escaped.push_back(static_cast<char>(byte));
    } else {
      escaped += "\\x";
      escaped.push_back(kDigits[byte >> 4]);
      escaped.push_back(kDigits[byte & 0x0F]);
    }
  }
  if (shown < value.size()) escaped += "...";
  if (escaped.empty()) escaped = "\"\"";
  return escaped;
}

std::string Rfc3339Utc(std::chrono::system_clock::time_point time) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(
                          time.time_since_epoch() % std::chrono::seconds(1))
                          .count();
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[40];
  const std::size_t size = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
  char result[64];
  std::snprintf(result, sizeof result, "%.*s.%03dZ", static_cast<int>(size), text,
                static_cast<int>(millis < 0 ? millis + 1000 : millis));
  return result;
}

}  // namespace azu::emulator
