#include "vireo/known_servers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <random>
#include <utility>
#include <vector>

#include "vireo/key_fingerprint.h"

namespace azu::vireo {
namespace {

constexpr const char* kKnownServersVariable = "VIREO_KNOWN_SERVERS";
constexpr const char* kFolderName = "azuqvc";
constexpr const char* kFileName = "known_servers";
// Mismatches kept for the window; a process meets few servers, and none may grow it unbounded.
constexpr std::size_t kMaxMismatches = 64;
constexpr int kTempNameAttempts = 16;
// Some ten thousand servers; more is not a file this library wrote.
constexpr std::size_t kMaxFileBytes = std::size_t{1024} * 1024;

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return lower;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// A server text that makes one field of a line: not empty, no blank or control character, and
// not read as a comment.
bool IsServerField(std::string_view server) {
  return !server.empty() && server.front() != '#' &&
         std::none_of(server.begin(), server.end(), [](char c) {
           const auto byte = static_cast<unsigned char>(c);
           return byte <= 0x20 || byte == 0x7F;
         });
}

struct Entry {
  std::string server;  // lower-case
  std::string fingerprint;
};

// "server fingerprint", blanks between and around; nullopt for comments and anything else.
std::optional<Entry> ParseLine(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) {
      ++i;
    }
    fields.push_back(line.substr(start, i - start));
  }
  if (fields.size() != 2 || !IsServerField(fields[0]) || !IsKeyFingerprint(fields[1])) {
    return std::nullopt;
  }
  return Entry{LowerAscii(fields[0]), std::string(fields[1])};
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

// Closes a descriptor on every way out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  Descriptor(Descriptor&&) = delete;
  Descriptor& operator=(Descriptor&&) = delete;

  [[nodiscard]] int Get() const { return fd_; }
  // Closes now, so that a failing close can be seen.
  bool Close() {
    const int fd = std::exchange(fd_, -1);
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

enum class ReadOutcome : std::uint8_t { kRead, kMissing, kRefused };
enum class Links : std::uint8_t { kFollow, kRefuse };

// The file's bytes; kRefused for anything but a regular file of at most kMaxFileBytes, a read
// error, or (kRefuse) a symbolic link. Never blocks on a FIFO put in the file's place.
ReadOutcome ReadRegularFile(const std::filesystem::path& file, Links links, std::string& content) {
  content.clear();
  const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (links == Links::kRefuse ? O_NOFOLLOW : 0);
  const Descriptor fd(::open(file.c_str(), flags));
  if (fd.Get() < 0) {
    return errno == ENOENT ? ReadOutcome::kMissing : ReadOutcome::kRefused;
  }
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return ReadOutcome::kRefused;
  }
  char buffer[4096];
  while (true) {
    const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
    if (got == 0) {
      return ReadOutcome::kRead;
    }
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      return ReadOutcome::kRefused;
    }
    content.append(buffer, static_cast<std::size_t>(got));
    if (content.size() > kMaxFileBytes) {
      return ReadOutcome::kRefused;
    }
  }
}

// Makes `folder` and any missing parent, each readable by the owner only.
bool MakeFolders(const std::filesystem::path& folder) {
  if (folder.empty()) {
    return true;
  }
  std::error_code error;
  if (std::filesystem::is_directory(folder, error)) {
    return true;
  }
  if (folder.has_parent_path() && folder.parent_path() != folder &&
      !MakeFolders(folder.parent_path())) {
    return false;
  }
  return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Writes `content` to a new file beside `file` and renames it over `file`, so that a reader sees
// the old pins or the new ones, never a mix.
bool ReplaceFile(const std::filesystem::path& file, std::string_view content) {
  std::random_device random;
  const std::filesystem::path folder = file.parent_path();
  for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
    std::filesystem::path temp = file;
    temp += "." + std::to_string(::getpid()) + "." + std::to_string(random()) + ".tmp";
    Descriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (fd.Get() < 0) {
      if (errno == EEXIST) {
        continue;
      }
      return false;
    }
    const bool stored = WriteAll(fd.Get(), content) && ::fsync(fd.Get()) == 0 && fd.Close() &&
                        ::rename(temp.c_str(), file.c_str()) == 0;
    if (!stored) {
      ::unlink(temp.c_str());
      return false;
    }
    // The rename itself survives a crash only once the folder is on disk.
    const Descriptor dir(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) {
      ::fsync(dir.Get());
    }
    return true;
  }
  return false;
}

struct Mismatches {
  std::mutex mutex;
  std::vector<std::pair<std::string, KeyMismatch>> recent;  // oldest first
};

Mismatches& ProcessMismatches() {
  static Mismatches mismatches;
  return mismatches;
}

}  // namespace

std::filesystem::path DefaultKnownServersFile() {
  if (const char* file = std::getenv(kKnownServersVariable); file != nullptr && *file != '\0') {
    return file;
  }
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config == '/') {
    return std::filesystem::path(config) / kFolderName / kFileName;
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return std::filesystem::path(home) / ".config" / kFolderName / kFileName;
  }
  return {};
}

KnownServers::KnownServers(std::filesystem::path file) : file_(std::move(file)) {}

std::optional<std::string> KnownServers::Pinned(std::string_view server) const {
  std::string content;
  // Read through a link: a pin is as good there; only writing refuses one.
  if (file_.empty() || ReadRegularFile(file_, Links::kFollow, content) != ReadOutcome::kRead) {
    return std::nullopt;
  }
  const std::string wanted = LowerAscii(server);
  for (const std::string_view line : SplitLines(content)) {
    if (auto entry = ParseLine(line); entry && entry->server == wanted) {
      return std::move(entry->fingerprint);
    }
  }
  return std::nullopt;
}

bool KnownServers::Pin(std::string_view server, std::string_view fingerprint) const {
  if (file_.empty() || !IsServerField(server) || !IsKeyFingerprint(fingerprint)) {
    return false;
  }
  // Two threads of this process pinning at once must not drop each other's line.
  static std::mutex writing;
  const std::lock_guard lock(writing);
  if (!MakeFolders(file_.parent_path())) {
    return false;
  }
  std::string content;
  // Renaming over a link would replace it; an unreadable file would lose every other pin.
  if (ReadRegularFile(file_, Links::kRefuse, content) == ReadOutcome::kRefused) {
    return false;
  }
  const std::string wanted = LowerAscii(server);
  const std::string pin = wanted + " " + std::string(fingerprint);
  std::string rewritten;
  bool placed = false;
  // The first line of the server takes the new pin; later ones of it go; everything else stays.
  for (const std::string_view line : SplitLines(content)) {
    const auto entry = ParseLine(line);
    if (entry && entry->server == wanted) {
      if (placed) {
        continue;
      }
      rewritten += pin;
      placed = true;
    } else {
      rewritten += line;
    }
    rewritten += '\n';
  }
  if (!placed) {
    rewritten += pin + '\n';
  }
  return ReplaceFile(file_, rewritten);
}

void NoteKeyMismatch(std::string_view server, const KeyMismatch& mismatch) {
  Mismatches& mismatches = ProcessMismatches();
  const std::lock_guard lock(mismatches.mutex);
  auto& recent = mismatches.recent;
  const auto known = std::find_if(recent.begin(), recent.end(),
                                  [server](const auto& noted) { return noted.first == server; });
  if (known != recent.end()) {
    recent.erase(known);
  } else if (recent.size() >= kMaxMismatches) {
    recent.erase(recent.begin());
  }
  recent.emplace_back(std::string(server), mismatch);
}

std::optional<KeyMismatch> LastKeyMismatch(std::string_view server) {
  Mismatches& mismatches = ProcessMismatches();
  const std::lock_guard lock(mismatches.mutex);
  const auto& recent = mismatches.recent;
  const auto known = std::find_if(recent.begin(), recent.end(),
                                  [server](const auto& noted) { return noted.first == server; });
  if (known == recent.end()) {
    return std::nullopt;
  }
  return known->second;
}

}  // namespace azu::vireo
