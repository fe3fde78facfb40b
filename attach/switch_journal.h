#pragma once
// The journal of a file set switch, kept on the server's drive while the live set changes, so
// that a switch cut short (a kill, a power cut) is finished at the next start instead of leaving
// a mix of two sets. Plain text, one `key=value` per line:
//
//   azuqvc switch journal 1
//   mode=direct connection            (or: network switch)
//   printer=100.100.100.101           the printer address the new set is made for
//   server=198.51.100.2               the server address it was made with
//   previous-mode=network switch      the set it replaces, rebuilt from its variants if the
//   previous-printer=198.51.100.7     switch can be neither finished nor kept
//   step=install                      install: staged files are being renamed; restart: all are
//                                     in place, the services are still to be restarted
//   row=0 size=57 digest=0123456789abcdef live=/not-scsi0/dev0/maj_0.cfg staged=/not-scsi0/...
//   ... (13 rows, in install order)
//   end
//
// Paths are the server's, so the journal holds wherever drive E: is mounted. `digest` is the
// FNV-1a 64 of the new content, to tell a live file already installed from an old one.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "attach/file_table.h"

namespace azu {

inline constexpr const char* kSwitchJournal = "/not-scsi0/tmp/azuqvc.switch";
// A journal that could not be finished is kept under this name for the administrator.
inline constexpr const char* kUnfinishedSwitchJournal = "/not-scsi0/tmp/azuqvc.switch.bad";
// A new file waits under its live file's name with this suffix until it is renamed over it.
inline constexpr std::string_view kStagedSuffix = ".azuqvc-new";

struct SwitchJournal {
  enum class Step { kInstall, kRestart };
  struct Row {
    std::string live;  // the server path of the live file
    std::uint64_t size = 0;
    std::uint64_t digest = 0;
  };

  AttachmentMode mode = AttachmentMode::DirectConnection;
  std::string printerAddress;
  std::string serverAddress;
  std::optional<AttachmentMode> previousMode;  // none when the old URL could not be read
  std::string previousPrinter;
  Step step = Step::kInstall;
  std::vector<Row> rows;
};

// The staged file of a live file.
std::string StagedPath(std::string_view live);

// FNV-1a 64 of `content`: enough to tell two versions of a configuration file apart.
std::uint64_t ContentDigest(std::string_view content);

// "direct connection" or "network switch", as the log says it.
std::string_view ModeName(AttachmentMode mode);

std::string FormatSwitchJournal(const SwitchJournal& journal);

// The journal, or nullopt with the reason in `why` when the text is not a whole journal of the
// 13 live files in their order (cut, altered, another version).
std::optional<SwitchJournal> ParseSwitchJournal(std::string_view text, std::string& why);

}  // namespace azu
