// The install of a file set as one switch that a crash cannot leave half done: staged files, a
// journal, renames in row order.

#include <array>
#include <vector>

#include "attach/detached_printer_dlg.h"
#include "attach/switch_journal.h"

namespace azu {

int CDetachedPrinterDlg::InstallFileSetLocal() {
  struct Previous {
    std::string path;
    std::optional<std::string> content;  // nullopt: there was no live file
  };
  // Every live file is read before any is replaced: one that cannot be read (a link planted in
  // its place, say) stops the install with nothing touched.
  std::vector<Previous> previous;
  previous.reserve(kFileSetRows);
  for (int row = 0; row < kFileSetRows; ++row) {
    Previous live{LocalFile(kLiveSet + row), std::nullopt};
    if (files_.Size(live.path)) {
      std::string old;
      if (!files_.Read(live.path, old, nullptr)) return row;
      live.content = std::move(old);
    }
    previous.push_back(std::move(live));
  }
  SwitchJournal journal;
  journal.mode = ModeOf(printerAddress_);
  journal.printerAddress = printerAddress_;
  journal.serverAddress = serverAddress_;
  if (livePrinterAddress_ && !livePrinterAddress_->empty()) {
    journal.previousMode = ModeOf(*livePrinterAddress_);
    journal.previousPrinter = *livePrinterAddress_;
  }
  std::array<std::string, kFileSetRows> contents;
  for (int row = 0; row < kFileSetRows; ++row) {
    std::string& content = contents[static_cast<std::size_t>(row)];
    if (!files_.Read(WorkingCopy(row), content, nullptr)) return row;
    journal.rows.push_back({std::string(kFileTable[static_cast<std::size_t>(kLiveSet + row)]),
                            content.size(), ContentDigest(content)});
  }
  // Each new file whole on the disk beside its live file before the journal names it.
  for (int row = 0; row < kFileSetRows; ++row) {
    if (!files_.Replace(LocalPath(StagedPath(journal.rows[static_cast<std::size_t>(row)].live)),
                        contents[static_cast<std::size_t>(row)], nullptr)) {
      RemoveStagedFiles();
      return row;
    }
  }
  const std::string journalFile = LocalPath(kSwitchJournal);
  if (!files_.Replace(journalFile, FormatSwitchJournal(journal), nullptr)) {
    RemoveStagedFiles();
    return 0;
  }
  const auto putBack = [&](int installed) {
    for (int row = installed - 1; row >= 0; --row) {
      const Previous& live = previous[static_cast<std::size_t>(row)];
      if (live.content) {
        files_.Replace(live.path, *live.content, nullptr);
      } else {
        files_.Remove(live.path);
      }
    }
  };
  for (int row = 0; row < kFileSetRows; ++row) {
    const std::string staged =
        LocalPath(StagedPath(journal.rows[static_cast<std::size_t>(row)].live));
    if (!files_.Move(staged, previous[static_cast<std::size_t>(row)].path, nullptr)) {
      putBack(row);
      RemoveStagedFiles();
      files_.Remove(journalFile);
      return row;
    }
  }
  // Without this step the next start still sees every row in place and only restarts.
  journal.step = SwitchJournal::Step::kRestart;
  files_.Replace(journalFile, FormatSwitchJournal(journal), nullptr);
  livePrinterAddress_ = printerAddress_;
  return kFileSetRows;
}

void CDetachedPrinterDlg::EndSwitch() {
  files_.Remove(LocalPath(kSwitchJournal));
}

void CDetachedPrinterDlg::RemoveStagedFiles() {
  for (int row = 0; row < kFileSetRows; ++row) {
    const std::string staged = LocalPath(StagedPath(kFileTable[static_cast<std::size_t>(row)]));
    if (files_.Size(staged)) files_.Remove(staged);
  }
}

}  // namespace azu
