// The real `azuqvc printerip` in a server namespace, with our SNMP responder as the printer in
// another and a real zorne-emulator on the server's loopback: learning the MAC, both switches
// with their restart, the exit marker, a forger's answers and a stop signal. Skipped where
// namespaces cannot be made.

#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "attach/file_table.h"
#include "attach/switch_journal.h"
#include "tests/attach/drive_root.h"
#include "tests/attach/namespace_lab.h"

namespace azu {
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;

constexpr const char* kSitePrinter = "198.51.100.7";
// Rows 3 to 12: the files that carry the two fixed addresses.
constexpr int kAddressRows[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

class PrinterIpEndToEnd : public testing::Test {
 protected:
  // Builds the lab; false (with the test skipped) where that cannot be done.
  bool Lab(bool siteLink, bool forger = false) {
    if (const auto reason = test::NamespaceLab::Unavailable()) {
      skipReason_ = *reason;
      return false;
    }
    lab_.emplace(siteLink);
    if (!lab_->Error().empty()) {
      skipReason_ = "network namespaces cannot be built here: " + lab_->Error();
      return false;
    }
    fs::copy(AZU_DEMO_SERVER, drive.Root(), fs::copy_options::recursive);
    fs::create_directories(work / "temp");
    std::ofstream(work / "service-ctl.sh") << "#!/bin/sh\necho \"$@\" >> " << ServiceLog() << "\n";
    fs::permissions(work / "service-ctl.sh", fs::perms::owner_all);
    std::vector<std::string> responder = {AZU_SNMP_RESPONDER, "--mac",
                                          test::NamespaceLab::kPrinterMac};
    if (forger) responder.emplace_back("--forge");
    return lab_->Start(lab_->Printer(), responder, {}, work / "responder.out") > 0 &&
           test::WaitForText(work / "responder.out", "ready", std::chrono::seconds(10));
  }
  bool StartEmulator() {
    return lab_->Start(lab_->Server(),
                       {AZU_ZORNE_EMULATOR, "--root", drive.Root(), "--listen", "127.0.0.1:9631",
                        "--admin-password", "RONDEL"},
                       {}, work / "emulator.out") > 0 &&
           test::WaitForText(work / "emulator.out", "listening on", std::chrono::seconds(10));
  }
  // Starts the watcher as an administrator would on the server, without any display; under
  // `wrapper` (a tracer, say) when given.
  pid_t StartWatcher(std::vector<std::string> wrapper = {}) {
    std::vector<std::string> env = {"AZUQVC_DRIVE_E=" + drive.Root(),
                                    "AZUQVC_SERVICE_CTL=" + (work / "service-ctl.sh").string(),
                                    "TEMP=" + (work / "temp").string(), "PATH=/usr/bin:/bin"};
    for (const char* keep : {"LSAN_OPTIONS", "ASAN_OPTIONS", "UBSAN_OPTIONS"}) {
      if (!wrapper.empty() && std::string_view(keep) != "UBSAN_OPTIONS") continue;
      if (const char* value = std::getenv(keep)) env.push_back(std::string(keep) + "=" + value);
    }
    // The leak check cannot run under a tracer.
    if (!wrapper.empty()) env.emplace_back("ASAN_OPTIONS=detect_leaks=0");
    wrapper.insert(wrapper.end(), {AZU_AZUQVC, "printerip"});
    return lab_->Start(lab_->Server(), wrapper, env, work / "azuqvc.out");
  }
  // Runs the watcher to its end; its exit status.
  std::optional<int> RunWatcher(std::vector<std::string> wrapper = {}) {
    const pid_t pid = StartWatcher(std::move(wrapper));
    if (pid <= 0) return std::nullopt;
    return lab_->Wait(pid, seconds(100));
  }
  void SetUrl(const std::string& address) const {
    const auto config = drive.Local(kLiveSet);
    std::string text = Slurp(config);
    text = Replaced(text, "URL=100.100.100.101", "URL=" + address);
    std::ofstream(config, std::ios::binary | std::ios::trunc) << text;
  }
  // The live files in network-switch mode for the site printer, the templates holding the
  // direct link's addresses, and the printer moved onto the direct link: the watcher will switch.
  std::vector<std::string> SiteServerWithPrinterOnDirectLink() {
    std::vector<std::string> templates;
    for (const int row : kAddressRows) {
      const auto live = drive.Local(kLiveSet + row);
      templates.push_back(Slurp(live));
      fs::copy_file(live, drive.Local(kDirectSet + row), fs::copy_options::overwrite_existing);
      std::ofstream(live, std::ios::binary | std::ios::trunc)
          << Replaced(templates.back(), "100.100.100.101", kSitePrinter);
    }
    SetUrl(kSitePrinter);
    drive.Write(kPrinterMacFile, "02:a2:00:00:00:99");
    return templates;
  }
  bool PrinterKnownOnDirectLink() {
    // The server's ARP cache already knows the printer: the lookup finds it before SNMP does.
    return lab_->PlacePrinterOnDirectLink() &&
           lab_->Run(lab_->Server(),
                     {"ip", "neigh", "replace", "100.100.100.101", "lladdr",
                      test::NamespaceLab::kPrinterMac, "dev", "direct0", "nud", "permanent"});
  }
  std::string ServiceLog() const { return (work / "services.log").string(); }
  std::string Events() const { return Slurp(fs::path(drive.Root()) / ".zorne" / "events.log"); }
  void ExpectCleanRun(const std::optional<int>& status) {
    ASSERT_TRUE(status) << "the watcher did not end; output:\n" << Slurp(work / "azuqvc.out");
    EXPECT_EQ(*status, 0) << Slurp(work / "azuqvc.out");
    EXPECT_TRUE(fs::is_empty(work / "temp")) << "working copies left behind";
    EXPECT_TRUE(drive.Exists(kActiveMarker));
  }

  test::DriveRoot drive;
  fs::path work = fs::path(drive.Root() + "-work");
  std::optional<test::NamespaceLab> lab_;
  std::string skipReason_;

  void TearDown() override {
    lab_.reset();
    std::error_code ignored;
    fs::remove_all(work, ignored);
  }
};

#define AZU_LAB_OR_SKIP(...)                               \
  if (!Lab(__VA_ARGS__)) {                                 \
    if (!skipReason_.empty()) GTEST_SKIP() << skipReason_; \
    FAIL() << "the printer's responder did not start";     \
  }

TEST_F(PrinterIpEndToEnd, LearnsTheMacOfThePrinterOnTheDirectLink) {
  AZU_LAB_OR_SKIP(false);
  ASSERT_TRUE(lab_->PlacePrinterOnDirectLink()) << lab_->Error();
  const std::string before = Slurp(drive.Local(kLiveSet));
  ExpectCleanRun(RunWatcher());
  EXPECT_EQ(drive.Read(kPrinterMacFile), test::NamespaceLab::kPrinterMac);
  const std::string log = drive.Read(kAttachmentLog).value_or("");
  EXPECT_TRUE(log.starts_with("PrinterIP=100.100.100.101\r\nPrinterMAC=02:a2:00:00:00:01\r\n"))
      << log;
  EXPECT_NE(log.find("100.100.100.102 100.100.100.101 02:a2:00:00:00:01\r\n"), std::string::npos);
  EXPECT_TRUE(drive.Exists(kChangedMarker));
  EXPECT_EQ(Slurp(drive.Local(kLiveSet)), before);
  EXPECT_FALSE(fs::exists(ServiceLog()));
}

TEST_F(PrinterIpEndToEnd, SwitchesFromTheSiteNetworkBackToTheDirectLinkAndRestarts) {
  AZU_LAB_OR_SKIP(false);
  const std::vector<std::string> templates = SiteServerWithPrinterOnDirectLink();
  ASSERT_TRUE(PrinterKnownOnDirectLink()) << lab_->Error();
  ASSERT_TRUE(StartEmulator()) << Slurp(work / "emulator.out");
  ExpectCleanRun(RunWatcher());

  EXPECT_TRUE(drive.Read(kAttachmentLog)
                  .value_or("")
                  .ends_with("MACAddresses:2\r\n"
                             "100.100.100.102 100.100.100.101 02:a2:00:00:00:01\r\n"
                             "100.100.100.102 100.100.100.101 02:a2:00:00:00:01\r\n"))
      << drive.Read(kAttachmentLog).value_or("(no log)");
  EXPECT_NE(Slurp(drive.Local(kLiveSet)).find("\r\nURL=100.100.100.101\r\n"), std::string::npos);
  for (std::size_t i = 0; i < std::size(kAddressRows); ++i) {
    EXPECT_EQ(Slurp(drive.Local(kLiveSet + kAddressRows[i])), templates[i]) << kAddressRows[i];
  }
  EXPECT_EQ(drive.Read(kPrinterMacFile), "02:a2:00:00:00:99");  // the learnt MAC is kept
  EXPECT_TRUE(drive.Exists(kChangedMarker));
  EXPECT_EQ(Slurp(ServiceLog()), "stop azu-commonlcd\nstop apache2\n");
  EXPECT_NE(Events().find(" restart"), std::string::npos) << Events();
}

// The real watcher killed (SIGKILL, by strace) as it renames the staged file of row 6 over its
// live file: the next start finishes the switch and restarts the services.
TEST_F(PrinterIpEndToEnd, AWatcherKilledMidSwitchIsFinishedByItsNextStart) {
  AZU_LAB_OR_SKIP(false);
  if (std::system("command -v strace >/dev/null") != 0) GTEST_SKIP() << "strace is not installed";
  // The variants a first start saves, saved already: both runs below rename the same files.
  for (const int set : {kDirectSet, kNetworkSet}) {
    for (int row = 0; row < kFileSetRows; ++row) {
      if (!drive.Exists(set + row))
        fs::copy_file(drive.Local(kLiveSet + row), drive.Local(set + row));
    }
  }
  const std::vector<std::string> templates = SiteServerWithPrinterOnDirectLink();
  ASSERT_TRUE(PrinterKnownOnDirectLink()) << lab_->Error();
  ASSERT_TRUE(StartEmulator()) << Slurp(work / "emulator.out");
  // A traced run first, to count the renames up to row 6's install.
  const std::string trace = (work / "renames").string();
  ExpectCleanRun(RunWatcher({"strace", "-f", "-qq", "-e", "trace=renameat", "-o", trace}));
  std::istringstream lines(Slurp(trace));
  int renames = 0;
  int killAt = 0;
  for (std::string line; std::getline(lines, line) && killAt == 0;) {
    if (line.find("renameat(") == std::string::npos) continue;
    ++renames;
    if (line.find("\"engineAddr.azuqvc-new\", ") != std::string::npos) killAt = renames;
  }
  ASSERT_GT(killAt, 0) << Slurp(trace);

  SiteServerWithPrinterOnDirectLink();  // back as before the traced run
  fs::remove(ServiceLog());
  const auto killed =
      RunWatcher({"strace", "-f", "-qq", "-o", (work / "killed.strace").string(), "-e",
                  "inject=renameat:signal=KILL:when=" + std::to_string(killAt)});
  ASSERT_TRUE(killed);
  EXPECT_NE(*killed, 0);
  // Half switched: maj_0.cfg says direct while row 6 still holds the site's file.
  EXPECT_NE(Slurp(drive.Local(kLiveSet)).find("\r\nURL=100.100.100.101\r\n"), std::string::npos);
  EXPECT_NE(Slurp(drive.Local(kLiveSet + 6)), templates[3]);
  ASSERT_TRUE(fs::exists(drive.Local(kSwitchJournal)));
  EXPECT_FALSE(fs::exists(ServiceLog()));
  // A killed run cannot delete its working copies; they are not the next run's.
  for (const auto& copy : fs::directory_iterator(work / "temp")) fs::remove(copy.path());

  ExpectCleanRun(RunWatcher());
  for (std::size_t i = 0; i < std::size(kAddressRows); ++i) {
    EXPECT_EQ(Slurp(drive.Local(kLiveSet + kAddressRows[i])), templates[i]) << kAddressRows[i];
  }
  EXPECT_FALSE(fs::exists(drive.Local(kSwitchJournal)));
  EXPECT_FALSE(fs::exists(drive.Local(std::string(kFileTable[6]) + ".azuqvc-new")));
  EXPECT_EQ(Slurp(ServiceLog()), "stop azu-commonlcd\nstop apache2\n");
  EXPECT_NE(Slurp(work / "azuqvc.out")
                .find("finished a switch to direct connection for printer 100.100.100.101 that "
                      "was cut short after 6 of 13 files"),
            std::string::npos)
      << Slurp(work / "azuqvc.out");
}

TEST_F(PrinterIpEndToEnd, SwitchesFromTheDirectLinkToTheSiteNetworkAndRestarts) {
  AZU_LAB_OR_SKIP(true);
  drive.Write(kPrinterMacFile, test::NamespaceLab::kPrinterMac);
  ASSERT_TRUE(lab_->PlacePrinterOnSite(kSitePrinter)) << lab_->Error();
  ASSERT_TRUE(StartEmulator()) << Slurp(work / "emulator.out");
  std::vector<std::string> before;
  for (const int row : kAddressRows) before.push_back(Slurp(drive.Local(kLiveSet + row)));
  ExpectCleanRun(RunWatcher());

  EXPECT_NE(Slurp(drive.Local(kLiveSet)).find("\r\nURL=198.51.100.7\r\n"), std::string::npos);
  for (std::size_t i = 0; i < std::size(kAddressRows); ++i) {
    const std::string expected = Replaced(Replaced(before[i], "100.100.100.101", kSitePrinter),
                                          "100.100.100.102", "198.51.100.2");
    EXPECT_EQ(Slurp(drive.Local(kLiveSet + kAddressRows[i])), expected) << kAddressRows[i];
    // The templates stay as they were for the way back.
    EXPECT_EQ(Slurp(drive.Local(kDirectSet + kAddressRows[i])), before[i]);
  }
  const std::string log = drive.Read(kAttachmentLog).value_or("");
  EXPECT_NE(log.find("198.51.100.2 198.51.100.7 02:a2:00:00:00:01\r\n"), std::string::npos) << log;
  EXPECT_EQ(Slurp(ServiceLog()), "stop azu-commonlcd\nstop apache2\n");
  EXPECT_NE(Events().find(" restart"), std::string::npos) << Events();
}

TEST_F(PrinterIpEndToEnd, AnExitMarkerEndsTheWatcher) {
  AZU_LAB_OR_SKIP(false);
  ASSERT_TRUE(lab_->UnplugPrinter());
  const pid_t pid = StartWatcher();
  ASSERT_GT(pid, 0);
  // The active marker shows the watcher is up; then the marker asks it to stop.
  for (int i = 0; i < 100 && !drive.Exists(kActiveMarker); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  // Into the first probe, so the marker is found by the loop, not before it.
  std::this_thread::sleep_for(seconds(2));
  drive.Write(kExitMarker, "");
  const auto status = lab_->Wait(pid, seconds(60));
  ExpectCleanRun(status);
  EXPECT_FALSE(drive.Exists(kExitMarker));
  EXPECT_FALSE(drive.Exists(kPrinterMacFile));
}

// A host on the site network that knows the printer's MAC answers every query with junk and
// near-misses that end in the MAC (from another port, for another OID or request-id, a 7-byte
// value, a truncated message): none of it is a record, so nothing changes.
TEST_F(PrinterIpEndToEnd, AForgerThatKnowsTheMacIsNotTakenForThePrinter) {
  AZU_LAB_OR_SKIP(true, true);
  drive.Write(kPrinterMacFile, test::NamespaceLab::kPrinterMac);
  ASSERT_TRUE(lab_->PlacePrinterOnSite("198.51.100.66")) << lab_->Error();
  drive.Write(kExitMarker, "");  // one probe, then the watcher ends
  const auto snapshot = [this] {
    std::vector<std::optional<std::string>> files;
    for (int entry = kLiveSet; entry < kLiveSet + kFileSetRows; ++entry) {
      files.push_back(drive.Read(entry));
    }
    for (const int entry : {kPrinterMacFile, kAttachmentLog, kChangedMarker}) {
      files.push_back(drive.Read(entry));
    }
    return files;
  };
  const auto before = snapshot();
  ExpectCleanRun(RunWatcher());
  const std::string answered = Slurp(work / "responder.out");
  EXPECT_NE(answered.find("198.51.100.2 for interface 1"), std::string::npos) << answered;
  EXPECT_NE(answered.find("198.51.100.2 for interface 2"), std::string::npos) << answered;
  EXPECT_EQ(snapshot(), before);
  EXPECT_FALSE(fs::exists(ServiceLog()));
}

// A service manager's stop, while learning and while watching: the working copies go, the
// status is 0, and the environment the watcher was started with is in its log.
TEST_F(PrinterIpEndToEnd, AStopSignalEndsTheWatcherCleanly) {
  AZU_LAB_OR_SKIP(false);
  ASSERT_TRUE(lab_->UnplugPrinter());
  for (const bool watching : {false, true}) {
    SCOPED_TRACE(watching ? "watching" : "learning");
    if (watching) drive.Write(kPrinterMacFile, test::NamespaceLab::kPrinterMac);
    fs::remove(drive.Local(kActiveMarker));
    const pid_t pid = StartWatcher();
    ASSERT_GT(pid, 0);
    for (int i = 0; i < 100 && !drive.Exists(kActiveMarker); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    // Into the first probe (learning) or the first pause (watching).
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    ExpectCleanRun(lab_->Wait(pid, seconds(10)));
    const std::string log = Slurp(work / "azuqvc.out");
    EXPECT_NE(log.find("stopped on request"), std::string::npos) << log;
    EXPECT_NE(log.find("(from AZUQVC_DRIVE_E)"), std::string::npos) << log;
    EXPECT_NE(log.find("service-ctl.sh (from AZUQVC_SERVICE_CTL)"), std::string::npos) << log;
  }
}

}  // namespace
}  // namespace azu
