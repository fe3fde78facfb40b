// Switching the live file set: a failure at any step leaves the live set wholly in its old mode
// and restarts nothing; a complete switch restarts the services in their order.

#include "attach/file_set_switch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "attach/switch_journal.h"
#include "tests/attach/watcher_fixture.h"

namespace azu {
namespace {

class FileSetSwitchTest : public test::WatcherTest {
 protected:
  void SetUp() override {
    Configure(test::kSitePrinter, test::kPrinterMac);
    state.SetServerAddress(test::kSiteServer);
    state.EnsureLocalCompanions();
    before = LiveSet();
  }
  // Switches to the direct link.
  bool Switch() {
    state.SetPrinterAddress("100.100.100.101");
    return ApplyFileSetLocal(state, services_);
  }
  std::string Local(int entry) const { return drive.Local(entry).string(); }

  AttachServices services_ = Services();
  CDetachedPrinterDlg state{drive.Root(), files};
  std::vector<std::string> before;
};

TEST_F(FileSetSwitchTest, CompleteSwitchInstallsTheDirectSetAndRestartsThroughTheLibrary) {
  ASSERT_TRUE(Switch());
  const auto live = LiveSet();
  EXPECT_EQ(live[0], "Name=zorne\r\nURL=100.100.100.101\r\nSNMP=1\r\n");
  EXPECT_EQ(live[1], "direct 1\n");
  for (int row = kFirstAddressRow; row < kFileSetRows; ++row) {
    EXPECT_EQ(live[static_cast<std::size_t>(row)], test::DriveRoot::TemplateContent(row));
  }
  EXPECT_EQ(clock.sleeps, (std::vector<std::uint32_t>{10000}));
  EXPECT_EQ(services.calls, (std::vector<std::string>{"stop AZU CommonLCD", "stop Apache"}));
  EXPECT_EQ(library.calls, (std::vector<std::string>{"ConnectLocal", "Restart", "Disconnect 43"}));
}

TEST_F(FileSetSwitchTest, WithoutALocalConnectionTheServerServiceIsStoppedAndStarted) {
  library.failAt["ConnectLocal"] = VIREO_E_UNREACHABLE;
  ASSERT_TRUE(Switch());
  EXPECT_EQ(services.calls, (std::vector<std::string>{"stop AZU CommonLCD", "stop Apache",
                                                      "stop AZU Zorne", "start AZU Zorne"}));
  EXPECT_EQ(clock.sleeps, (std::vector<std::uint32_t>{10000, 5000}));
  EXPECT_EQ(library.calls, (std::vector<std::string>{"ConnectLocal"}));
}

TEST_F(FileSetSwitchTest, MissingVariantStopsTheCopyAtItsRow) {
  for (const int row : {0, 1, 7, 12}) {
    SCOPED_TRACE(row);
    files.failRead = [&](const std::string& path) { return path == Local(kDirectSet + row); };
    EXPECT_EQ(state.CopyFileSetLocal(AttachmentMode::DirectConnection), row);
    state.SetPrinterAddress("100.100.100.101");
    EXPECT_FALSE(ApplyFileSetLocal(state, services_));
    EXPECT_EQ(LiveSet(), before);
  }
  EXPECT_FALSE(Restarted());
}

TEST_F(FileSetSwitchTest, FailingEditStopsAtItsRowWithTheLiveSetUntouched) {
  state.SetPrinterAddress("10.0.0.9");  // network switch: rows 3 to 12 are edited
  for (const int row : {0, 3, 8, 12}) {
    SCOPED_TRACE(row);
    // A copy is written once when copied; its second write is the edit.
    int writes = 0;
    files.failReplace = [&](const std::string& path) {
      return path == state.WorkingCopy(row) && ++writes == 2;
    };
    ASSERT_EQ(state.CopyFileSetLocal(AttachmentMode::NetworkSwitch), kFileSetRows);
    EXPECT_EQ(state.EditFileSet(AttachmentMode::NetworkSwitch), row);
    writes = 0;
    EXPECT_FALSE(ApplyFileSetLocal(state, services_));
    EXPECT_EQ(LiveSet(), before);
  }
  EXPECT_FALSE(Restarted());
  ASSERT_EQ(recorder.Boxes().size(), 8U);
  EXPECT_EQ(recorder.Boxes()[0].text, "Zorne Printer address not set: Open #2 (5)");
}

TEST_F(FileSetSwitchTest, FailingInstallPutsBackEveryRowAlreadyInstalled) {
  const auto nothingStagedOrJournaled = [&] {
    EXPECT_FALSE(std::filesystem::exists(drive.Local(kSwitchJournal)));
    for (int live = 0; live < kFileSetRows; ++live) {
      EXPECT_FALSE(std::filesystem::exists(Local(kLiveSet + live) + std::string(kStagedSuffix)));
    }
  };
  for (int row = 0; row < kFileSetRows; ++row) {
    SCOPED_TRACE(row);
    files.failReplace = [&](const std::string& path) { return path == Local(kLiveSet + row); };
    EXPECT_FALSE(Switch());
    EXPECT_EQ(LiveSet(), before);
    nothingStagedOrJournaled();
    files.failReplace = nullptr;
    state.SetPrinterAddress("100.100.100.101");
    EXPECT_EQ(state.CopyFileSetLocal(AttachmentMode::DirectConnection), kFileSetRows);
    files.failRead = [&](const std::string& path) { return path == state.WorkingCopy(row); };
    EXPECT_EQ(state.InstallFileSetLocal(), row);
    EXPECT_EQ(LiveSet(), before);
    nothingStagedOrJournaled();
    files.failRead = nullptr;
  }
  EXPECT_FALSE(Restarted());
}

TEST_F(FileSetSwitchTest, LiveFileThatDidNotExistIsRemovedAgainOnFailure) {
  std::filesystem::remove(drive.Local(kLiveSet + 4));
  before = LiveSet();
  files.failReplace = [&](const std::string& path) { return path == Local(kLiveSet + 9); };
  EXPECT_FALSE(Switch());
  EXPECT_EQ(LiveSet(), before);
  EXPECT_FALSE(drive.Exists(kLiveSet + 4));
}

#ifndef _WIN32  // links and pipes as files are POSIX's
// The watcher writes as root: a link planted anywhere below the drive (or a pipe that would hold
// it) is refused, nothing is written through it and the live set stays whole.
TEST_F(FileSetSwitchTest, ALinkPlantedInTheDriveIsRefusedAndNothingIsWrittenThroughIt) {
  namespace fs = std::filesystem;
  const fs::path outside = drive.Root() + "-outside";
  fs::create_directories(outside);
  struct Plant {
    const char* what;
    int entry;
    enum { kFileLink, kFolderLink, kPipe } kind;
  };
  const Plant plants[] = {{"variant", kDirectSet + 1, Plant::kFileLink},
                          {"template", kDirectSet + 9, Plant::kFileLink},
                          {"live file", kLiveSet + 7, Plant::kFileLink},
                          {"folder of live files and templates", kLiveSet + 4, Plant::kFolderLink},
                          {"pipe as template", kDirectSet + 5, Plant::kPipe}};
  for (const Plant& plant : plants) {
    SCOPED_TRACE(plant.what);
    const fs::path target = drive.Local(plant.entry);
    const fs::path victim = outside / "victim";
    fs::remove_all(outside / "moved");
    std::ofstream(victim, std::ios::trunc) << "victim\n";
    if (plant.kind == Plant::kFileLink) {
      fs::remove(target);
      fs::create_symlink(victim, target);
    } else if (plant.kind == Plant::kFolderLink) {
      fs::rename(target.parent_path(), outside / "moved");
      fs::create_directory_symlink(outside / "moved", target.parent_path());
    } else {
      fs::remove(target);
      ASSERT_EQ(mkfifo(target.c_str(), 0600), 0);
    }
    const auto outsideBefore = LiveSet();
    files.logged.clear();

    EXPECT_FALSE(Switch());
    EXPECT_EQ(LiveSet(), outsideBefore);
    EXPECT_FALSE(Restarted());
    std::ifstream in(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "victim\n");
    if (plant.kind == Plant::kFileLink) {
      EXPECT_TRUE(fs::is_symlink(target));
      ASSERT_EQ(files.logged.size(), 1U);
      EXPECT_NE(files.logged[0].find(target.string()), std::string::npos) << files.logged[0];
    }
    // Back to a sound drive for the next plant.
    fs::remove(plant.kind == Plant::kFolderLink ? target.parent_path() : target);
    if (plant.kind == Plant::kFolderLink) fs::rename(outside / "moved", target.parent_path());
    Configure(test::kSitePrinter, test::kPrinterMac);
  }
  fs::remove_all(outside);
}
#endif

TEST_F(FileSetSwitchTest, AStopBeforeTheInstallLeavesTheLiveSetButAnInstallUnderWayCompletes) {
  stop.Request();
  EXPECT_FALSE(Switch());
  EXPECT_EQ(LiveSet(), before);
  EXPECT_FALSE(Restarted());

  platform::StopRequest during;
  AttachServices services = Services();
  const AttachServices stoppable{services.clock,     services.hosts,    services.arp,
                                 services.transport, services.services, services.library,
                                 services.files,     services.driveE,   during,
                                 services.log};
  files.failReplace = [&](const std::string& path) {
    if (path == Local(kLiveSet)) during.Request();  // the first live file is being replaced
    return false;
  };
  state.SetPrinterAddress("100.100.100.101");
  EXPECT_TRUE(ApplyFileSetLocal(state, stoppable));
  EXPECT_EQ(LiveSet()[1], "direct 1\n");
  EXPECT_EQ(library.calls, (std::vector<std::string>{"ConnectLocal", "Restart", "Disconnect 43"}));
}

}  // namespace
}  // namespace azu
