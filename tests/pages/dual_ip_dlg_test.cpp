// The Dual IP page: its Add and Delete controls, the check against the discovered servers, and
// every step of the Add and Delete transactions with its failure.

#include "pages/dual_ip_dlg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "framework/qt/qt_dialog.h"
#include "tests/pages/page_fixture.h"

namespace azu {
namespace {

constexpr const char* kRules = "/not-scsi0/net/oemnetshrules.bat";
constexpr int kAddress = CDualIPDlg::kAddressId;
constexpr int kMask = CDualIPDlg::kMaskId;

// The fake library, with a hook that can fail (or act during) one store of a chosen file.
class DualIpLibrary : public test::FakeLibrary {
 public:
  std::function<VIREO_STATUS(const std::string& serverPath)> onPut;

  VIREO_STATUS PutFile(VIREO_FT_SESSION* session, const std::string& localPath,
                       const std::string& serverPath) override {
    if (onPut) {
      if (const VIREO_STATUS s = onPut(serverPath)) {
        calls.push_back("PutFile " + serverPath);
        return s;
      }
    }
    return FakeLibrary::PutFile(session, localPath, serverPath);
  }
};

class DualIpPageTest : public test::FakePageTest<CDualIPDlg, DualIpLibrary> {
 protected:
  void SetUp() override {
    FakePageTest::SetUp();
    library.files[test::kMainConfigPath] = "Name=zorne1\r\n";
  }
  void TypeAddress(const char* address, const char* mask) {
    ASSERT_TRUE(ui.Address(kAddress).SetText(address));
    ASSERT_TRUE(ui.Address(kMask).SetText(mask));
  }
};

TEST_F(DualIpPageTest, OpensInAddModeWithTheDefaultAddresses) {
  EXPECT_TRUE(qobject_cast<QAbstractButton*>(QtWidget(page.Item(CDualIPDlg::kAddId)))->isChecked());
  EXPECT_EQ(ui.Address(kAddress).Text(), "0.0.0.0");
  EXPECT_EQ(ui.Address(kMask).Text(), "255.255.255.255");
  EXPECT_TRUE(ui.Enabled(kAddress));
  EXPECT_TRUE(ui.Enabled(kMask));
  EXPECT_EQ(page.ItemText(CDualIPDlg::kDeleteId), "Delete");
  EXPECT_EQ(page.ItemText(1027), "Subnet Mask:");
}

TEST_F(DualIpPageTest, DeleteGreysOutTheAddressesKeepingThemAndAddBringsThemBack) {
  TypeAddress("10.1.2.3", "255.255.0.0");
  ui.Click(CDualIPDlg::kDeleteId);
  EXPECT_EQ(page.mode, CDualIPDlg::kDelete);
  EXPECT_FALSE(ui.Enabled(kAddress));
  EXPECT_FALSE(ui.Enabled(kMask));
  EXPECT_EQ(ui.Address(kAddress).Text(), "10.1.2.3");
  EXPECT_EQ(ui.Address(kMask).Text(), "255.255.0.0");
  ui.Click(CDualIPDlg::kAddId);
  EXPECT_EQ(page.mode, CDualIPDlg::kAdd);
  EXPECT_TRUE(ui.Enabled(kAddress));
  EXPECT_TRUE(ui.Enabled(kMask));
  EXPECT_EQ(ui.Address(kAddress).Text(), "10.1.2.3");
}

TEST_F(DualIpPageTest, ServersOwnAddressIsRefusedInBothModes) {
  page.servers = {"10.0.0.9 other(QV5010)", "10.0.0.5 Zorne1(QV5010)"};
  TypeAddress("10.0.0.5", "255.255.255.0");
  page.Configure();
  ui.Click(CDualIPDlg::kDeleteId);
  page.Configure();
  page.serverName = "10.0.0.5";  // the server field holding the address matches it too
  page.Configure();
  const std::string sameIp = "The Dual IP Address is the same as the Zorne Server";
  EXPECT_EQ(Texts(), (std::vector<std::string>{sameIp, sameIp, sameIp}));
  EXPECT_EQ(recorder.Boxes()[0].type, kNoticeBox);
  EXPECT_EQ(prompts, 0);
}

TEST_F(DualIpPageTest, AnotherServersAddressIsAccepted) {
  page.servers = {"10.0.0.9 other(QV5010)", "10.0.0.5 zorne1(QV5010)"};
  TypeAddress("10.0.0.9", "255.255.255.0");
  page.Configure();
  EXPECT_EQ(prompts, 1);
}

TEST_F(DualIpPageTest, AddStoresKeysThenRulesThenSetsTheAttributeAndOffersTheReboot) {
  TypeAddress("192.168.7.20", "255.255.255.0");
  recorder.SetNextAnswer(IDYES);
  page.Configure();
  EXPECT_EQ(library.files[test::kMainConfigPath],
            "Name=zorne1\r\nDualIPAddress=192.168.7.20\r\nDualIPSubnetMask=255.255.255.0\r\n");
  EXPECT_EQ(library.files[kRules],
            "e:/azu/server/dev0/ftprulesadd.bat \"Local Area Connection\" 192.168.7.20 "
            "255.255.255.0 100.100.100.101\r\n");
  EXPECT_EQ(library.attributes["portfilters_enabled"], "yes");
  EXPECT_EQ(library.calls,
            (std::vector<std::string>{
                "Connect zorne1", "OpenSession", "GetFile /not-scsi0/dev0/maj_0.cfg",
                "PutFile /not-scsi0/dev0/maj_0.cfg", "PutFile /not-scsi0/net/oemnetshrules.bat",
                "CloseSession", "OpenAttributes", "SetAttribute portfilters_enabled=yes",
                "CloseAttributes", "Reboot", "Disconnect 42"}));
}

TEST_F(DualIpPageTest, RulesGoThroughAUniqueFileNotAFixedNameAnotherUserCouldPlant) {
  // A link planted under the fixed name must neither be followed nor removed.
  const std::filesystem::path victim = folder.Path().parent_path() / "azu-victim-of-dual-ip";
  std::ofstream(victim) << "precious";
  const std::filesystem::path planted = folder.Path() / "oemnetshrules.bat";
  std::filesystem::create_symlink(victim, planted);
  TypeAddress("192.168.7.20", "255.255.255.0");
  page.Configure();
  std::ifstream in(victim);
  const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(content, "precious");
  const std::string rulesLocal = library.localPathsSeen.back();
  EXPECT_EQ(std::filesystem::path(rulesLocal).parent_path(), folder.Path());
  EXPECT_NE(std::filesystem::path(rulesLocal).filename(), "oemnetshrules.bat");
  std::filesystem::remove(planted);
  std::filesystem::remove(victim);
}

TEST_F(DualIpPageTest, FailedRulesStoreKeepsTheKeysAndStopsBeforeTheAttribute) {
  library.onPut = [](const std::string& path) { return path == kRules ? VIREO_E_PATH : VIREO_OK; };
  TypeAddress("192.168.7.20", "255.255.255.0");
  page.Configure();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Unable to add IP: putFile (" +
                                               std::to_string(VIREO_E_PATH) + ")"}));
  EXPECT_EQ(recorder.Boxes()[0].type, kErrorBox);
  EXPECT_NE(library.files[test::kMainConfigPath].find("DualIPAddress="), std::string::npos);
  EXPECT_FALSE(Called("OpenAttributes"));
  EXPECT_FALSE(Called("Reboot"));
  EXPECT_EQ(library.calls.back(), "Disconnect 42");
}

TEST_F(DualIpPageTest, RulesFileThatCannotBeMadeStopsWithTheOpenMessage) {
  // Once the keys are stored, TEMP names a folder that does not exist.
  library.onPut = [this](const std::string& path) {
    if (path == test::kMainConfigPath) {
      setenv("TEMP", (folder.Path() / "gone").c_str(), 1);
    }
    return VIREO_OK;
  };
  TypeAddress("192.168.7.20", "255.255.255.0");
  page.Configure();
  setenv("TEMP", folder.Path().c_str(), 1);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Unable to add IP: Open (2)"}));
  EXPECT_FALSE(Called("PutFile /not-scsi0/net/oemnetshrules.bat"));
  EXPECT_FALSE(Called("OpenAttributes"));
  EXPECT_FALSE(Called("Reboot"));
}

TEST_F(DualIpPageTest, FailedAttributeSessionStopsWithoutReboot) {
  library.failAt = {{"OpenAttributes", VIREO_E_SESSION}};
  TypeAddress("192.168.7.20", "255.255.255.0");
  page.Configure();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Unable to add IP: openSession #2 (" +
                                               std::to_string(VIREO_E_SESSION) + ")"}));
  EXPECT_FALSE(Called("SetAttribute portfilters_enabled=yes"));
  EXPECT_FALSE(Called("CloseAttributes"));
  EXPECT_FALSE(Called("Reboot"));
}

TEST_F(DualIpPageTest, FailedAttributeClosesItsSessionAndStopsWithoutReboot) {
  library.failAt = {{"SetAttribute", VIREO_E_ATTRIBUTE}};
  TypeAddress("192.168.7.20", "255.255.255.0");
  page.Configure();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Unable to add IP: setDefault (" +
                                               std::to_string(VIREO_E_ATTRIBUTE) + ")"}));
  EXPECT_TRUE(Called("CloseAttributes"));
  EXPECT_FALSE(Called("Reboot"));
}

TEST_F(DualIpPageTest, DeleteWithoutKeysStoresNothingButDeletesTheRules) {
  library.files[kRules] = "old rules\r\n";
  ui.Click(CDualIPDlg::kDeleteId);
  recorder.SetNextAnswer(IDYES);
  page.Configure();
  EXPECT_EQ(library.calls, (std::vector<std::string>{"Connect zorne1", "OpenSession",
                                                     "GetFile /not-scsi0/dev0/maj_0.cfg",
                                                     "Delete /not-scsi0/net/oemnetshrules.bat",
                                                     "CloseSession", "Reboot", "Disconnect 42"}));
  EXPECT_EQ(library.files.count(kRules), 0U);
}

TEST_F(DualIpPageTest, FailedDeleteShowsItsStatusAndOffersNoRebootAfterTheStore) {
  library.files[test::kMainConfigPath] = "dualipaddress=10.1.1.1\r\nName=zorne1\r\n";
  library.failAt = {{"Delete", VIREO_E_NOT_FOUND}};
  ui.Click(CDualIPDlg::kDeleteId);
  page.Configure();
  EXPECT_EQ(library.files[test::kMainConfigPath], "Name=zorne1\r\n");
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Unable to delete IP: delete (" +
                                               std::to_string(VIREO_E_NOT_FOUND) + ")"}));
  EXPECT_EQ(recorder.Boxes()[0].type, kErrorBox);
  EXPECT_FALSE(Called("Reboot"));
}

}  // namespace
}  // namespace azu
