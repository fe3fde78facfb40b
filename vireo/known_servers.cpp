#include "vireo/known_servers.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/atomic_replace.h"
#include "vireo/key_fingerprint.h"
#include "vireo/known_servers_file.h"

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

struct Mismatches {
  std::mutex mutex;
  std::vector<std::pair<std::string, KeyMismatch>> recent;  // oldest first
};

Mismatches& ProcessMismatches() {
  static Mismatches mismatches;
  return mismatches;
}

}  // namespace

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
  // Whole or not at all, and readable by the owner only: the pins say whom to trust.
  return platform::ReplaceFileAtomically(file_.string(), rewritten, nullptr, true);
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
