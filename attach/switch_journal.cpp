#include "attach/switch_journal.h"

#include <charconv>

#include "attach/text_edits.h"

namespace azu {
namespace {

constexpr std::string_view kHeader = "azuqvc switch journal 1";

std::optional<AttachmentMode> ModeFromName(std::string_view name) {
  for (const AttachmentMode mode :
       {AttachmentMode::DirectConnection, AttachmentMode::NetworkSwitch}) {
    if (name == ModeName(mode)) return mode;
  }
  return std::nullopt;
}

bool ParseNumber(std::string_view text, std::uint64_t& value, int base) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// `key=value` of the next field of a row line, which ends at a space (the paths hold none).
std::optional<std::string_view> Field(std::string_view& line, std::string_view key) {
  if (!line.starts_with(key) || line.size() <= key.size() || line[key.size()] != '=') {
    return std::nullopt;
  }
  line.remove_prefix(key.size() + 1);
  const std::size_t end = std::min(line.find(' '), line.size());
  const std::string_view value = line.substr(0, end);
  line.remove_prefix(std::min(end + 1, line.size()));
  return value;
}

std::optional<SwitchJournal::Row> ParseRow(std::string_view line, int expected) {
  SwitchJournal::Row row;
  std::uint64_t index = 0;
  const auto number = Field(line, "row");
  const auto size = Field(line, "size");
  const auto digest = Field(line, "digest");
  const auto live = Field(line, "live");
  const auto staged = Field(line, "staged");
  if (!number || !size || !digest || !live || !staged || !line.empty() ||
      !ParseNumber(*number, index, 10) || index != static_cast<std::uint64_t>(expected) ||
      !ParseNumber(*size, row.size, 10) || !ParseNumber(*digest, row.digest, 16)) {
    return std::nullopt;
  }
  // Only the files of the live set, each with its own staged name: a journal never leads the
  // watcher to rename anything else.
  row.live = *live;
  if (row.live != kFileTable[static_cast<std::size_t>(kLiveSet + expected)] ||
      *staged != StagedPath(row.live)) {
    return std::nullopt;
  }
  return row;
}

}  // namespace

std::string StagedPath(std::string_view live) {
  return std::string(live) + std::string(kStagedSuffix);
}

std::uint64_t ContentDigest(std::string_view content) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char byte : content) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

std::string_view ModeName(AttachmentMode mode) {
  return mode == AttachmentMode::DirectConnection ? "direct connection" : "network switch";
}

std::string FormatSwitchJournal(const SwitchJournal& journal) {
  std::string text(kHeader);
  text.append("\nmode=").append(ModeName(journal.mode));
  text.append("\nprinter=").append(journal.printerAddress);
  text.append("\nserver=").append(journal.serverAddress);
  if (journal.previousMode) {
    text.append("\nprevious-mode=").append(ModeName(*journal.previousMode));
    text.append("\nprevious-printer=").append(journal.previousPrinter);
  }
  text.append("\nstep=").append(journal.step == SwitchJournal::Step::kInstall ? "install"
                                                                              : "restart");
  for (std::size_t index = 0; index < journal.rows.size(); ++index) {
    const SwitchJournal::Row& row = journal.rows[index];
    std::string digest(16, '0');
    for (std::size_t at = 0; at < digest.size(); ++at) {
      digest[digest.size() - 1 - at] = "0123456789abcdef"[(row.digest >> (4 * at)) & 0xF];
    }
    text.append("\nrow=").append(std::to_string(index));
    text.append(" size=").append(std::to_string(row.size));
    text.append(" digest=").append(digest).append(" live=").append(row.live);
    text.append(" staged=").append(StagedPath(row.live));
  }
  text.append("\nend\n");
  return text;
}

std::optional<SwitchJournal> ParseSwitchJournal(std::string_view text, std::string& why) {
  std::vector<std::string_view> lines;
  ForEachLine(text, [&](std::string_view line) {
    if (line.ends_with('\r')) line.remove_suffix(1);  // a journal an editor saved with CR LF
    lines.push_back(line);
  });
  why = "it is not a whole switch journal";
  if (lines.size() < 2 || lines.front() != kHeader || lines.back() != "end") return std::nullopt;
  SwitchJournal journal;
  std::optional<AttachmentMode> mode;
  std::optional<std::string_view> step;
  for (std::size_t at = 1; at + 1 < lines.size(); ++at) {
    const std::string_view line = lines[at];
    const std::size_t equals = line.find('=');
    const std::string_view key = line.substr(0, equals);
    const std::string_view value = equals == std::string_view::npos ? "" : line.substr(equals + 1);
    if (key == "mode") {
      mode = ModeFromName(value);
    } else if (key == "printer") {
      journal.printerAddress = value;
    } else if (key == "server") {
      journal.serverAddress = value;
    } else if (key == "previous-mode") {
      journal.previousMode = ModeFromName(value);
      if (!journal.previousMode) return std::nullopt;
    } else if (key == "previous-printer") {
      journal.previousPrinter = value;
    } else if (key == "step") {
      step = value;
    } else if (key == "row") {
      const auto row = ParseRow(line, static_cast<int>(journal.rows.size()));
      if (!row) {
        why = "its row " + std::to_string(journal.rows.size()) + " is not a row of the live set";
        return std::nullopt;
      }
      journal.rows.push_back(*row);
    } else {
      why = "it holds an unknown line";
      return std::nullopt;
    }
  }
  if (!mode || !step || (*step != "install" && *step != "restart") ||
      journal.rows.size() != static_cast<std::size_t>(kFileSetRows) ||
      journal.printerAddress.empty()) {
    return std::nullopt;
  }
  journal.mode = *mode;
  journal.step = *step == "install" ? SwitchJournal::Step::kInstall : SwitchJournal::Step::kRestart;
  return journal;
}

}  // namespace azu
