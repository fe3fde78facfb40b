// The next start after a switch cut short: the journal it left is finished, rolled back or
// reported, never guessed at.

#include <string>
#include <vector>

#include "attach/file_set_switch.h"
#include "attach/switch_journal.h"

namespace azu {
namespace {

bool Holds(LocalFiles& files, const std::string& path, const SwitchJournal::Row& row) {
  std::string content;
  return files.Read(path, content, nullptr) && content.size() == row.size &&
         ContentDigest(content) == row.digest;
}

// A journal that cannot be finished: kept aside for the administrator, the set it replaced put
// back when the journal names it, else the files left as they are; either way the changed marker
// says that someone should look.
void GiveUp(CDetachedPrinterDlg& state, const AttachServices& services, const std::string& text,
            const std::optional<SwitchJournal>& journal, const std::string& inconsistency) {
  LocalFiles& files = services.files;
  files.Replace(state.LocalPath(kUnfinishedSwitchJournal), text, nullptr);
  services.log("a switch was cut short and cannot be finished: " + inconsistency +
               "; the journal is kept as " + state.LocalPath(kUnfinishedSwitchJournal));
  // The journal stays until the end: a crash in here leads to the same steps at the next start.
  state.RemoveStagedFiles();
  if (journal && journal->previousMode) {
    const std::string back = std::string(ModeName(*journal->previousMode)) + " set for printer " +
                             journal->previousPrinter;
    state.SetPrinterAddress(journal->previousPrinter);
    services.log(ApplyFileSetLocal(state, services) ? "rolled back to the " + back
                                                    : "could not roll back to the " + back +
                                                          "; the live files are left as they are");
  } else {
    services.log("the live files are left as they are");
  }
  files.Remove(state.LocalPath(kSwitchJournal));
  state.TouchChangedMarker();
}

}  // namespace

void FinishCutShortSwitch(CDetachedPrinterDlg& state, const AttachServices& services) {
  LocalFiles& files = services.files;
  const std::string journalFile = state.LocalPath(kSwitchJournal);
  if (!files.Size(journalFile)) {
    state.RemoveStagedFiles();
    return;
  }
  std::string text;
  std::string why = "it cannot be read";
  std::optional<SwitchJournal> journal;
  if (files.Read(journalFile, text, nullptr)) journal = ParseSwitchJournal(text, why);
  if (!journal) {
    GiveUp(state, services, text, journal, "the journal " + journalFile + " is unusable: " + why);
    return;
  }
  // Each row either waits staged with the new content or already holds it live.
  std::vector<bool> waiting;
  int installed = 0;
  for (const SwitchJournal::Row& row : journal->rows) {
    const bool staged = Holds(files, state.LocalPath(StagedPath(row.live)), row);
    if (!staged && !Holds(files, state.LocalPath(row.live), row)) {
      GiveUp(state, services, text, journal,
             "row " + std::to_string(waiting.size()) + " (" + state.LocalPath(row.live) +
                 ") is neither staged nor the new " + std::string(ModeName(journal->mode)) +
                 " file");
      return;
    }
    if (!staged) ++installed;
    waiting.push_back(staged);
  }
  for (std::size_t index = 0; index < waiting.size(); ++index) {
    const std::string& live = journal->rows[index].live;
    if (waiting[index] &&
        !files.Move(state.LocalPath(StagedPath(live)), state.LocalPath(live), nullptr)) {
      GiveUp(
          state, services, text, journal,
          "row " + std::to_string(index) + " (" + state.LocalPath(live) + ") cannot be replaced");
      return;
    }
  }
  const std::string where =
      journal->step == SwitchJournal::Step::kRestart
          ? "before the services were restarted"
          : "after " + std::to_string(installed) + " of " + std::to_string(kFileSetRows) + " files";
  RestartServices(services);
  files.Remove(journalFile);
  services.log("finished a switch to " + std::string(ModeName(journal->mode)) + " for printer " +
               journal->printerAddress + " that was cut short " + where);
}

}  // namespace azu
