#include "vireo/known_servers.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "vireo/key_fingerprint.h"
#include "vireo/known_servers_file.h"
#include "vireo/settings.h"

namespace azu::vireo {

namespace {

// Mismatches kept for the window; a process meets few servers, and none may grow it unbounded.
constexpr std::size_t kMaxMismatches = 64;

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

// `content` without the lines of `server`; the first of them into `fingerprint`. The lines it
// cannot read stay.
std::string WithoutServer(std::string_view content, std::string_view server,
                          std::string& fingerprint) {
  std::string kept;
  for (const std::string_view line : SplitLines(content)) {
    if (auto entry = ParseLine(line); entry && entry->server == server) {
      if (fingerprint.empty()) fingerprint = std::move(entry->fingerprint);
      continue;
    }
    kept.append(line).push_back('\n');
  }
  return kept;
}

std::atomic<std::uint64_t> g_reads{0};
std::atomic<std::uint64_t> g_writes{0};

// The process's copy of one known-servers file, and the first-use pins waiting for it.
struct Book {
  std::mutex mutex;
  bool current = false;  // `pins` hold the file of `stamp` (or its absence)
  std::optional<FileStamp> stamp;
  bool refused = false;                               // it could not be read
  std::unordered_map<std::string, std::string> pins;  // server → fingerprint, first line's
  std::vector<Entry> waiting;                         // not yet in the file, oldest first
};

// Reads the file again when it is not the one the copy was made of.
void Refresh(const std::filesystem::path& file, Book& book) {
  const std::optional<FileStamp> now = StampOf(file);
  if (book.current && now == book.stamp) return;
  book.pins.clear();
  book.refused = false;
  book.stamp = now;
  std::string content;
  FileStamp read{};
  switch (ReadRegularFile(file, Links::kFollow, content, &read)) {
    case ReadOutcome::kRead:
      ++g_reads;
      book.stamp = read;
      for (const std::string_view line : SplitLines(content)) {
        if (auto entry = ParseLine(line)) {
          book.pins.emplace(std::move(entry->server), std::move(entry->fingerprint));
        }
      }
      break;
    case ReadOutcome::kMissing:
      book.stamp.reset();
      break;
    case ReadOutcome::kRefused:
      book.refused = true;
      break;
  }
  book.current = true;
  // Another process pinned the server first: its pin stands.
  std::erase_if(book.waiting,
                [&book](const Entry& entry) { return book.pins.contains(entry.server); });
}

std::optional<std::string> Lookup(const Book& book, const std::string& server) {
  if (const auto pinned = book.pins.find(server); pinned != book.pins.end()) return pinned->second;
  for (const Entry& entry : book.waiting) {
    if (entry.server == server) return entry.fingerprint;
  }
  return std::nullopt;
}

// Appends the waiting pins in one write; they leave the queue written or not.
bool Flush(const std::filesystem::path& file, Book& book) {
  if (book.waiting.empty()) return true;
  Refresh(file, book);
  const std::vector<Entry> waiting = std::exchange(book.waiting, {});
  if (waiting.empty()) return true;
  if (book.refused || !MakeFolders(file.parent_path())) return false;
  std::string lines;
  for (const Entry& entry : waiting) lines += entry.server + " " + entry.fingerprint + "\n";
  ++g_writes;
  FileStamp before{};
  FileStamp after{};
  if (!AppendLines(file, lines, before, after)) {
    book.current = false;
    return false;
  }
  // Our own lines need no reading back; whatever another process changed since the copy does.
  if (book.stamp ? before == *book.stamp : before.size == 0) {
    for (const Entry& entry : waiting) book.pins.emplace(entry.server, entry.fingerprint);
    book.stamp = after;
  } else {
    book.current = false;
  }
  return true;
}

// Takes `lock`; without `wait` only when it is free.
bool Take(std::unique_lock<std::mutex>& lock, bool wait) {
  if (!wait) return lock.try_lock();
  lock.lock();
  return true;
}

class Books {
 public:
  Book& For(const std::filesystem::path& file) {
    const std::lock_guard lock(mutex_);
    std::unique_ptr<Book>& book = books_[file];
    if (!book) book = std::make_unique<Book>();
    return *book;
  }

  // With `wait` false, a file whose copy another thread holds is left for later.
  bool FlushAll(bool wait) {
    std::unique_lock lock(mutex_, std::defer_lock);
    if (!Take(lock, wait)) return false;
    bool flushed = true;
    for (const auto& [file, book] : books_) {
      std::unique_lock held(book->mutex, std::defer_lock);
      if (!Take(held, wait)) {
        flushed = false;
        continue;
      }
      flushed = Flush(file, *book) && flushed;
    }
    return flushed;
  }

 private:
  std::mutex mutex_;
  std::map<std::filesystem::path, std::unique_ptr<Book>> books_;
};

Books& ProcessBooks() {
  // Never destroyed: connections that close while the process ends still flush through it.
  static auto* const books = new Books;
  return *books;
}

// Pins still waiting when the process ends through exit(), or the library is unloaded. Never
// waits: where threads are stopped first (Windows), a lock may never be given back.
struct FlushAtExit {
  FlushAtExit() = default;
  FlushAtExit(const FlushAtExit&) = delete;
  FlushAtExit& operator=(const FlushAtExit&) = delete;
  FlushAtExit(FlushAtExit&&) = delete;
  FlushAtExit& operator=(FlushAtExit&&) = delete;
  ~FlushAtExit() { FlushPinsUnlessBusy(); }
};
const FlushAtExit kFlushAtExit;

struct Mismatches {
  std::mutex mutex;
  std::vector<std::pair<std::string, KeyMismatch>> recent;  // oldest first
};

Mismatches& ProcessMismatches() {
  static Mismatches mismatches;
  return mismatches;
}

}  // namespace

std::string PinName(const ServerAddress& server) {
  return LowerAscii(server.host) + ":" + std::to_string(server.port);
}

std::optional<std::string> PinNameOf(std::string_view server) {
  const auto port = DefaultPort();
  const auto address = port ? ParseServerAddress(server, *port) : std::nullopt;
  if (!address) return std::nullopt;
  return PinName(*address);
}

KnownServers::KnownServers(std::filesystem::path file) : file_(std::move(file)) {}

std::optional<std::string> KnownServers::Pinned(std::string_view server) const {
  if (file_.empty()) {
    return std::nullopt;
  }
  Book& book = ProcessBooks().For(file_);
  const std::lock_guard lock(book.mutex);
  // Read through a link: a pin is as good there; only writing refuses one.
  Refresh(file_, book);
  return Lookup(book, LowerAscii(server));
}

bool KnownServers::Pin(std::string_view server, std::string_view fingerprint) const {
  if (file_.empty() || !IsServerField(server) || !IsKeyFingerprint(fingerprint)) {
    return false;
  }
  Book& book = ProcessBooks().For(file_);
  // Two threads of this process pinning at once must not drop each other's line.
  const std::lock_guard lock(book.mutex);
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
  std::erase_if(book.waiting, [&wanted](const Entry& entry) { return entry.server == wanted; });
  book.current = false;
  ++g_writes;
  // Whole or not at all, and readable by the owner only: the pins say whom to trust.
  return ReplaceRegularFile(file_, rewritten);
}

bool KnownServers::PinLater(std::string_view server, std::string_view fingerprint) const {
  if (file_.empty() || !IsServerField(server) || !IsKeyFingerprint(fingerprint)) {
    return false;
  }
  Book& book = ProcessBooks().For(file_);
  const std::lock_guard lock(book.mutex);
  std::string wanted = LowerAscii(server);
  if (Lookup(book, wanted)) return true;
  book.waiting.push_back({std::move(wanted), std::string(fingerprint)});
  if (book.waiting.size() >= kMostWaitingPins) static_cast<void>(Flush(file_, book));
  return true;
}

std::optional<std::vector<KnownServer>> KnownServers::List() const {
  std::vector<KnownServer> known;
  if (file_.empty()) {
    return known;
  }
  std::string content;
  if (ReadRegularFile(file_, Links::kFollow, content) == ReadOutcome::kRefused) {
    return std::nullopt;
  }
  std::unordered_set<std::string> listed;
  for (const std::string_view line : SplitLines(content)) {
    if (auto entry = ParseLine(line); entry && listed.insert(entry->server).second) {
      known.push_back({std::move(entry->server), std::move(entry->fingerprint)});
    }
  }
  Book& book = ProcessBooks().For(file_);
  const std::lock_guard lock(book.mutex);
  for (const Entry& entry : book.waiting) {
    if (listed.insert(entry.server).second) known.push_back({entry.server, entry.fingerprint});
  }
  return known;
}

Forgotten KnownServers::Forget(std::string_view server) const {
  Forgotten forgotten{Forgotten::Outcome::kNotPinned, {}};
  if (file_.empty()) {
    return forgotten;
  }
  const std::string wanted = LowerAscii(server);
  Book& book = ProcessBooks().For(file_);
  const std::lock_guard lock(book.mutex);
  std::string content;
  const ReadOutcome read = ReadRegularFile(file_, Links::kRefuse, content);
  if (read == ReadOutcome::kRefused) {
    forgotten.outcome = Forgotten::Outcome::kFailed;
    return forgotten;
  }
  const std::string kept = WithoutServer(content, wanted, forgotten.fingerprint);
  if (!forgotten.fingerprint.empty()) {
    ++g_writes;
    book.current = false;
    if (!ReplaceRegularFile(file_, kept)) {
      forgotten.outcome = Forgotten::Outcome::kFailed;
      forgotten.fingerprint.clear();
      return forgotten;
    }
    forgotten.outcome = Forgotten::Outcome::kForgotten;
  }
  const auto waiting =
      std::find_if(book.waiting.begin(), book.waiting.end(),
                   [&wanted](const Entry& entry) { return entry.server == wanted; });
  if (waiting != book.waiting.end()) {
    if (forgotten.fingerprint.empty()) forgotten.fingerprint = waiting->fingerprint;
    book.waiting.erase(waiting);
    forgotten.outcome = Forgotten::Outcome::kForgotten;
  }
  return forgotten;
}

bool FlushPins() noexcept {
  try {
    return ProcessBooks().FlushAll(true);
  } catch (...) {
    return false;
  }
}

void FlushPinsUnlessBusy() noexcept {
  try {
    static_cast<void>(ProcessBooks().FlushAll(false));
  } catch (...) {
    // Pins that cannot be kept are pinned anew at the next connect.
  }
}

KnownServersActivity KnownServersFileActivity() {
  return {g_reads.load(), g_writes.load()};
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
