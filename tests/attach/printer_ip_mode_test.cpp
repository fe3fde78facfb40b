// The headless watcher's loops on a scripted network: learning the MAC, and every way the
// watching loop can end or go on.

#include "attach/printer_ip_mode.h"

#include <gtest/gtest.h>

#include "tests/attach/watcher_fixture.h"

namespace azu {
namespace {

using test::kOtherMac;
using test::kPrinterMac;
using test::kSitePrinter;
using test::kSiteServer;

class PrinterIpModeTest : public test::WatcherTest {
 protected:
  void Run() { RunPrinterIpMode(Services()); }
  std::string Log() const { return drive.Read(kAttachmentLog).value_or("(none)"); }
  std::string Mac() const { return drive.Read(kPrinterMacFile).value_or("(none)"); }
  bool Changed() const { return drive.Exists(kChangedMarker); }
  // Probes run so far (each starts with one ARP lookup).
  int Probes() const { return arp.lookups; }
};

// --- learning: no printer MAC file yet ---

TEST_F(PrinterIpModeTest, LearnsTheDirectPrintersMacWithoutInstallingOrRestarting) {
  Configure("100.100.100.101", nullptr);
  PrinterOnDirectLink(kPrinterMac);
  const auto before = LiveSet();
  Run();
  EXPECT_EQ(Mac(), kPrinterMac);
  EXPECT_TRUE(Changed());
  EXPECT_EQ(Log(),
            "PrinterIP=100.100.100.101\r\nPrinterMAC=00:1b:2c:3d:4e:5f\r\nMACAddresses:2\r\n"
            "100.100.100.102 100.100.100.101 00:1b:2c:3d:4e:5f\r\n"
            "100.100.100.102 100.100.100.101 00:1b:2c:3d:4e:5f\r\n");
  EXPECT_EQ(LiveSet(), before);
  EXPECT_FALSE(Restarted());
  EXPECT_EQ(Probes(), 1);
  EXPECT_EQ(clock.sleeps, (std::vector<std::uint32_t>{5000}));
  EXPECT_TRUE(drive.Exists(kActiveMarker));
  EXPECT_TRUE(drive.Exists(kDirectSet + 12));  // variants saved at the start
}

TEST_F(PrinterIpModeTest, LearningIgnoresThePrinterOnTheSiteNetworkAndProbesUntilTheExitMarker) {
  Configure(kSitePrinter, nullptr);
  PrinterOnSiteNetwork(kSiteServer, kSitePrinter, kPrinterMac);
  onPause = [this](std::size_t pauses) {
    if (pauses == 3) drive.Write(kExitMarker, "");
  };
  Run();
  EXPECT_EQ(Probes(), 3);
  EXPECT_FALSE(drive.Exists(kExitMarker));  // an empty one is consumed
  EXPECT_EQ(Mac(), "(none)");
  EXPECT_FALSE(Changed());
  EXPECT_EQ(Log(), "(none)");
}

TEST_F(PrinterIpModeTest, EmptyExitMarkerAtTheStartEndsLearningWithoutProbing) {
  Configure("100.100.100.101", nullptr);
  PrinterOnDirectLink(kPrinterMac);
  drive.Write(kExitMarker, "");
  Run();
  EXPECT_EQ(Probes(), 0);
  EXPECT_FALSE(drive.Exists(kExitMarker));
  EXPECT_EQ(Mac(), "(none)");
}

TEST_F(PrinterIpModeTest, WithoutMaj0TheModeEndsAfterTheActiveMarker) {
  drive.Write(kLiveSet + 1, "live 1");
  drive.Write("/not-scsi0/dev0/.keep", "");
  Run();
  EXPECT_TRUE(drive.Exists(kActiveMarker));
  EXPECT_EQ(drive.Read(kDirectSet + 1), "live 1");
  EXPECT_EQ(Probes(), 0);
  EXPECT_TRUE(clock.sleeps.empty());
}

// --- watching: the MAC is known ---

TEST_F(PrinterIpModeTest, DirectLinkWithTheSameMacOnlyWritesTheLog) {
  Configure("100.100.100.101", "00:1B:2C:3D:4E:5F");  // compared ignoring case
  PrinterOnDirectLink(kPrinterMac);
  const auto before = LiveSet();
  Run();
  EXPECT_NE(Log().find("PrinterMAC=00:1B:2C:3D:4E:5F\r\n"), std::string::npos);
  EXPECT_EQ(Mac(), "00:1B:2C:3D:4E:5F");
  EXPECT_FALSE(Changed());
  EXPECT_FALSE(Restarted());
  EXPECT_EQ(LiveSet(), before);
  EXPECT_EQ(Probes(), 1);
}

TEST_F(PrinterIpModeTest, DirectLinkWithAnotherMacStoresItWithoutRestart) {
  Configure("100.100.100.101", kOtherMac);
  PrinterOnDirectLink(kPrinterMac);
  const auto before = LiveSet();
  Run();
  EXPECT_EQ(Mac(), kPrinterMac);
  EXPECT_TRUE(Changed());
  EXPECT_NE(Log().find("PrinterMAC=00:1b:2c:3d:4e:5f\r\n"), std::string::npos);
  EXPECT_FALSE(Restarted());
  EXPECT_EQ(LiveSet(), before);
}

TEST_F(PrinterIpModeTest, NetworkSwitchToDirectLinkInstallsTheDirectSetAndKeepsTheMacFile) {
  Configure(kSitePrinter, kOtherMac);
  PrinterOnDirectLink(kPrinterMac);
  Run();
  const auto live = LiveSet();
  EXPECT_EQ(live[0], "Name=zorne\r\nURL=100.100.100.101\r\nSNMP=1\r\n");
  EXPECT_EQ(live[2], "direct 2\n");
  EXPECT_EQ(live[9], test::DriveRoot::TemplateContent(9));
  EXPECT_EQ(Mac(), kOtherMac);
  EXPECT_TRUE(Log().starts_with("PrinterIP=100.100.100.101\r\nPrinterMAC=00:1b:2c:3d:4e:5f\r\n"));
  EXPECT_TRUE(Changed());
  EXPECT_EQ(library.calls, (std::vector<std::string>{"ConnectLocal", "Restart", "Disconnect 43"}));
  EXPECT_EQ(services.calls, (std::vector<std::string>{"stop AZU CommonLCD", "stop Apache"}));
  EXPECT_EQ(clock.sleeps, (std::vector<std::uint32_t>{5000, 10000}));
}

TEST_F(PrinterIpModeTest, DirectLinkToANewSiteAddressInstallsTheNetworkSet) {
  Configure("100.100.100.101", kPrinterMac);
  drive.Write(kNetworkSet + 1, "network 1\n");
  PrinterOnSiteNetwork(kSiteServer, kSitePrinter, kPrinterMac);
  Run();
  const auto live = LiveSet();
  EXPECT_EQ(live[0], "Name=zorne\r\nURL=198.51.100.7\r\nSNMP=1\r\n");
  EXPECT_EQ(live[1], "network 1\n");
  for (int row = kFirstAddressRow; row < kFileSetRows; ++row) {
    EXPECT_EQ(live[static_cast<std::size_t>(row)],
              "row " + std::to_string(row) +
                  "\r\nprinter=198.51.100.7\r\nserver=198.51.100.2\r\nprinter again "
                  "198.51.100.7\r\n");
  }
  EXPECT_TRUE(Changed());
  EXPECT_TRUE(Log().starts_with("PrinterIP=198.51.100.7\r\n"));
  EXPECT_EQ(library.calls.size(), 3U);
}

TEST_F(PrinterIpModeTest, KnownPrinterAtItsConfiguredAddressEndsTheModeWithoutWriting) {
  Configure(kSitePrinter, kPrinterMac);
  PrinterOnSiteNetwork(kSiteServer, kSitePrinter, kPrinterMac);
  const auto before = LiveSet();
  Run();
  EXPECT_EQ(Probes(), 1);
  EXPECT_EQ(Log(), "(none)");
  EXPECT_FALSE(Changed());
  EXPECT_FALSE(Restarted());
  EXPECT_EQ(LiveSet(), before);
}

TEST_F(PrinterIpModeTest, KnownMacSeenOnlyThroughASecondHostAddressIsNotMatched) {
  Configure("100.100.100.101", kPrinterMac);
  PrinterOnSiteNetwork("100.100.100.102", "10.1.1.7", kPrinterMac);
  const auto before = LiveSet();
  onPause = [this](std::size_t pauses) {
    if (pauses == 4) drive.Write(kExitMarker, "stop");
  };
  Run();
  EXPECT_EQ(Probes(), 4);  // the exit marker is seen in the cycle after the pause that made it
  EXPECT_TRUE(drive.Exists(kExitMarker));  // a non-empty one stays
  EXPECT_EQ(LiveSet(), before);
  EXPECT_FALSE(Restarted());
  EXPECT_EQ(Log(), "(none)");
}

TEST_F(PrinterIpModeTest, EmptyMacFileMatchesNoRecordButTheDirectPrinterStillEndsTheMode) {
  Configure(kSitePrinter, "");
  PrinterOnSiteNetwork(kSiteServer, "198.51.100.8", kPrinterMac);
  onPause = [this](std::size_t pauses) {
    if (pauses == 2) PrinterOnDirectLink(kPrinterMac);
  };
  Run();
  EXPECT_EQ(Probes(), 2);
  EXPECT_EQ(LiveSet()[0], "Name=zorne\r\nURL=100.100.100.101\r\nSNMP=1\r\n");
  EXPECT_EQ(Mac(), "");
  EXPECT_TRUE(Restarted());
}

TEST_F(PrinterIpModeTest, ExitMarkersEndWatchingAfterTheirCycle) {
  Configure("100.100.100.101", kPrinterMac);
  drive.Write(kExitMarker, "");
  Run();
  EXPECT_EQ(Probes(), 1);  // the cycle that saw the marker still probes
  EXPECT_FALSE(drive.Exists(kExitMarker));

  arp.lookups = 0;
  drive.Write(kExitMarker, "keep");
  Run();
  EXPECT_EQ(Probes(), 1);
  EXPECT_TRUE(drive.Exists(kExitMarker));
  EXPECT_FALSE(Restarted());
}

TEST_F(PrinterIpModeTest, FailedSwitchStillEndsTheModeWithTheLiveSetInItsOldMode) {
  Configure(kSitePrinter, kPrinterMac);
  PrinterOnDirectLink(kPrinterMac);
  const auto before = LiveSet();
  const std::string failing = drive.Local(kLiveSet + 6).string();
  files.failReplace = [&](const std::string& path) { return path == failing; };
  Run();
  EXPECT_EQ(LiveSet(), before);
  EXPECT_FALSE(Restarted());
  EXPECT_TRUE(Changed());  // the finding itself was handled
  EXPECT_EQ(Probes(), 1);
}

}  // namespace
}  // namespace azu
