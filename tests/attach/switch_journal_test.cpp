// A switch cut short at any point: the watcher really ends (_exit, no destructors) at the k-th
// change to the drive or service call, for every k of a whole switch, and the next ordinary run
// must leave one whole set, restarted once after its last file. Then the journals that cannot be
// finished, and the journal's own text.

#include "attach/switch_journal.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <fstream>

#include "attach/file_set_switch.h"
#include "attach/printer_ip_mode.h"
#include "tests/attach/watcher_fixture.h"

namespace azu {
namespace {

namespace fs = std::filesystem;
using test::kPrinterMac;
using test::kSitePrinter;

constexpr int kCrashed = 77;
const std::vector<std::string> kRestart = {"stop AZU CommonLCD", "stop Apache", "stop AZU Zorne",
                                           "start AZU Zorne"};

class SwitchJournalTest : public test::WatcherTest {
 protected:
  SwitchJournalTest() {
    library.failAt["ConnectLocal"] = VIREO_E_UNREACHABLE;  // restarts show as service calls
    Configure(kSitePrinter, kPrinterMac);
    PrinterOnDirectLink(kPrinterMac);
  }

  // One watcher run that ends at the `crashAt`-th change to a file or service call (0: never),
  // as a crash ends it: in a child process that calls _exit, no destructor run. (On Windows, with
  // no fork, an exception ends the run instead; no destructor on that path writes to the drive.)
  // The steps it took go to `record`, which outlives it: "live N" when live row N changes,
  // "file" for any other file, and the service calls.
  int RunChild(int crashAt, const fs::path& record) {
    clock.sleeps.clear();
#ifndef _WIN32
    const pid_t child = fork();
    if (child == 0) {
      RunWatcher(crashAt, record, [] { _exit(kCrashed); });
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#else
    struct Crash {};
    try {
      RunWatcher(crashAt, record, [] { throw Crash{}; });
    } catch (const Crash&) {
      return kCrashed;
    }
    return 0;
#endif
  }
  void RunWatcher(int crashAt, const fs::path& record, const std::function<void()>& crash) {
    int steps = 0;
    const auto step = [&](const std::string& what) {
      if (++steps == crashAt) crash();
      std::ofstream(record, std::ios::app) << what << "\n";
    };
    files.beforeChange = [&](const std::string& path) {
      for (int row = 0; row < kFileSetRows; ++row) {
        if (path == drive.Local(kLiveSet + row).string())
          return step("live " + std::to_string(row));
      }
      step("file");
    };
    services.onCall = step;
    RunPrinterIpMode(Services());
    files.beforeChange = nullptr;
    services.onCall = nullptr;
  }
  static std::vector<std::string> Steps(const fs::path& record) {
    std::vector<std::string> steps;
    std::ifstream in(record);
    for (std::string line; std::getline(in, line);) {
      if (line != "file") steps.push_back(line);
    }
    return steps;
  }
  // What a crash can leave besides the live files.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(drive.Root())) {
      const std::string name = entry.path().filename().string();
      if (name.find(".azuqvc-new") != std::string::npos || name.starts_with("azuqvc.switch")) {
        found.push_back(name);
      }
    }
    return found;
  }
};

TEST_F(SwitchJournalTest, ASwitchCutShortAtAnyStepIsWholeAfterTheNextRun) {
  const fs::path crashed = temp.Path() / "crashed-run";
  const fs::path next = temp.Path() / "next-run";
  // The set a switch that is never cut short installs.
  ASSERT_EQ(RunChild(0, next), 0);
  const std::vector<std::string> direct = LiveSet();
  ASSERT_NE(direct[0].find("URL=100.100.100.101"), std::string::npos);

  int crashPoints = 0;
  for (int k = 1;; ++k) {
    SCOPED_TRACE("crash at step " + std::to_string(k));
    fs::remove(crashed);
    fs::remove(next);
    Configure(kSitePrinter, kPrinterMac);
    const int status = RunChild(k, crashed);
    if (status == 0) break;  // the whole switch took fewer steps
    ASSERT_EQ(status, kCrashed);
    ++crashPoints;
    ASSERT_EQ(RunChild(0, next), 0);
    EXPECT_EQ(LiveSet(), direct);
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
    // After the last live file changed: one whole restart, the next run's only one.
    std::vector<std::string> steps = Steps(crashed);
    const std::vector<std::string> nextSteps = Steps(next);
    steps.insert(steps.end(), nextSteps.begin(), nextSteps.end());
    const auto lastLive = std::find_if(steps.rbegin(), steps.rend(),
                                       [](const std::string& s) { return s.starts_with("live "); });
    ASSERT_NE(lastLive, steps.rend());
    const std::vector<std::string> after(lastLive.base(), steps.end());
    ASSERT_GE(after.size(), kRestart.size());
    EXPECT_EQ(std::vector<std::string>(after.end() - 4, after.end()), kRestart);
    EXPECT_LE(std::count(nextSteps.begin(), nextSteps.end(), "start AZU Zorne"), 1);
  }
  // Copies, staging, journal, 13 renames, journal, 4 service calls, journal gone, markers.
  EXPECT_GT(crashPoints, 40);
  std::printf("crash points tried: %d\n", crashPoints);
}

// A journal that cannot be finished is never guessed at: the set it replaced is rebuilt when the
// journal names it, else the files stay; the journal is kept aside and the changed marker set.
TEST_F(SwitchJournalTest, AJournalThatCannotBeFinishedRollsBackOrLeavesTheFiles) {
  ASSERT_EQ(RunChild(0, temp.Path() / "run"), 0);  // direct set installed, journal gone
  const std::vector<std::string> direct = LiveSet();
  struct Case {
    const char* name;
    std::function<void()> damage;
    bool rolledBack;
  };
  const std::vector<Case> cases = {
      {"unreadable", [&] { drive.Write(kSwitchJournal, "azuqvc switch journal 1\nmode=dir"); },
       false},
      {"row 5 lost",
       [&] {
         // A crash after 5 rows, then row 5's staged file deleted by hand.
         SwitchJournal journal;
         journal.printerAddress = "100.100.100.101";
         journal.previousMode = AttachmentMode::NetworkSwitch;
         journal.previousPrinter = kSitePrinter;
         for (int row = 0; row < kFileSetRows; ++row) {
           const std::string& content = direct[static_cast<std::size_t>(row)];
           const std::string live(kFileTable[static_cast<std::size_t>(row)]);
           journal.rows.push_back({live, content.size(), ContentDigest(content)});
           if (row < 5) drive.Write(live, content);
           if (row > 5) drive.Write(StagedPath(live), content);
         }
         drive.Write(kSwitchJournal, FormatSwitchJournal(journal));
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Configure(kSitePrinter, kPrinterMac);
    fs::remove(drive.Local(kChangedMarker));
    c.damage();
    const std::vector<std::string> damaged = LiveSet();
    arp.entries.clear();
    transport.printers.clear();  // the printer is away: only the journal acts
    onPause = [this](std::size_t) { drive.Write(kExitMarker, "stop"); };
    logged.clear();
    RunPrinterIpMode(Services());
    fs::remove(drive.Local(kExitMarker));
    const std::vector<std::string> live = LiveSet();
    if (c.rolledBack) {  // the network switch set made anew from its variants
      EXPECT_NE(live[0].find("URL=198.51.100.7\r\n"), std::string::npos);
      EXPECT_EQ(live[1], "network 1\n");
      for (int row = kFirstAddressRow; row < kFileSetRows; ++row) {
        EXPECT_NE(live[static_cast<std::size_t>(row)].find("printer=198.51.100.7\r\n"),
                  std::string::npos);
      }
    } else {
      EXPECT_EQ(live, damaged);
    }
    EXPECT_TRUE(drive.Exists(kChangedMarker));
    EXPECT_TRUE(drive.Read(kUnfinishedSwitchJournal));
    EXPECT_FALSE(drive.Read(kSwitchJournal));
    ASSERT_FALSE(logged.empty());
    EXPECT_NE(logged[0].find("a switch was cut short and cannot be finished: "), std::string::npos);
    EXPECT_EQ(Leftovers(), std::vector<std::string>{"azuqvc.switch.bad"});
  }
  EXPECT_NE(logged[0].find("row 5 ("), std::string::npos) << logged[0];
  EXPECT_NE(logged[0].find("is neither staged nor the new direct connection file"),
            std::string::npos);
  EXPECT_EQ(logged[1],
            std::string("rolled back to the network switch set for printer ") + kSitePrinter);
}

TEST_F(SwitchJournalTest, TheJournalReadsBackAndRefusesWhatIsNotAWholeJournalOfTheLiveSet) {
  SwitchJournal journal;
  journal.mode = AttachmentMode::NetworkSwitch;
  journal.printerAddress = kSitePrinter;
  journal.serverAddress = test::kSiteServer;
  journal.step = SwitchJournal::Step::kRestart;
  for (int row = 0; row < kFileSetRows; ++row) {
    journal.rows.push_back({std::string(kFileTable[static_cast<std::size_t>(row)]),
                            static_cast<std::uint64_t>(row), ContentDigest(std::to_string(row))});
  }
  const std::string text = FormatSwitchJournal(journal);
  std::string why;
  const auto back = ParseSwitchJournal(text, why);
  ASSERT_TRUE(back);
  EXPECT_EQ(FormatSwitchJournal(*back), text);
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string changed = text;
    changed.replace(changed.find(from), from.size(), to);
    return changed;
  };
  for (const std::string& bad :
       {text.substr(0, text.size() - 4), replaced("live=/not-scsi0/dev0/maj_0.cfg", "live=/etc/x"),
        replaced("staged=/not-scsi0/dev0/maj_0.cfg.azuqvc-new", "staged=/not-scsi0/dev0/x"),
        replaced("step=restart", "step=later"), replaced("row=1 ", "row=2 "),
        replaced("mode=network switch", "mode=bridge")}) {
    EXPECT_FALSE(ParseSwitchJournal(bad, why)) << bad;
  }
}

}  // namespace
}  // namespace azu
