// Parity: for each page, the same inputs through the dialog (offscreen) and through zornectl,
// each against an emulator of its own seeded alike; the servers end up holding the same bytes.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "pages/accounting_dlg.h"
#include "pages/admin_dlg.h"
#include "pages/dual_ip_dlg.h"
#include "pages/ftp_dlg.h"
#include "pages/http_dlg.h"
#include "pages/snmp_dlg.h"
#include "pages/tallyon_dlg.h"
#include "tests/pages/page_fixture.h"
#include "tests/support/running_emulator.h"
#include "tests/zornectl/zornectl_process.h"

namespace azu {
namespace {

// Every file a page may store, and a main configuration that holds keys of every page.
constexpr const char* kPaths[] = {test::kMainConfigPath, "/not-scsi0/config_files/engineInfo",
                                  "/not-scsi0/config_files/engineHTTP",
                                  "/not-scsi0/dev0/ScanToFtp_input.txt",
                                  "/not-scsi0/net/oemnetshrules.bat"};
constexpr const char* kSeed =
    "Name=zorne1\r\nURL=100.100.100.101\r\nsnmp.version=3\r\nSNMP.UserName=Vadmin\r\n"
    "accounting.AccountID=9\r\nAZPersUserID=old\r\nDualIPAddress=10.9.9.9\r\n"
    "DualIPSubnetMask=255.0.0.0\r\n";

template <typename Page>
class ParityTest : public testing::Test {
 protected:
  struct Row {
    const char* name;
    std::function<void(test::PageDriver&, Page&)> fill;
    std::vector<std::string> arguments;  // zornectl's, the server added at the end
  };

  void SetUp() override {
    ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
    ASSERT_TRUE(gui.Started()) << gui.Error();
    ASSERT_TRUE(cli.Started()) << cli.Error();
    ASSERT_TRUE(page.Create(nullptr));
    page.serverName = gui.Address();
  }

  void Check(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
      SCOPED_TRACE(row.name);
      for (const test::RunningEmulator* emulator : {&gui, &cli}) {
        ASSERT_TRUE(emulator->WriteServerFile(test::kMainConfigPath, kSeed));
        ASSERT_TRUE(emulator->WriteServerFile("/not-scsi0/net/oemnetshrules.bat", "rules\r\n"));
      }
      row.fill(ui, page);
      page.Configure();
      std::vector<std::string> arguments = row.arguments;
      arguments.push_back(cli.Address());
      const auto run =
          test::RunZornectl(arguments, {{"ZORNE_PASSWORD", "RONDEL"}, {"LC_ALL", "C"}});
      EXPECT_EQ(run.status, 0) << run.err << run.out;
      for (const char* path : kPaths) {
        EXPECT_EQ(cli.ReadServerFile(path), gui.ReadServerFile(path)) << path;
      }
      EXPECT_EQ(cli.Attributes(), gui.Attributes());
    }
  }

  test::TempFolderScope folder;
  test::RunningEmulator gui;
  test::RunningEmulator cli;
  RecordingMessageSink recorder;
  ScopedMessageSink installed{recorder};
  Page page{PageServices{VireoLibrary(), [] { return std::optional<std::string>("RONDEL"); }}};
  test::PageDriver ui{page};
};

using AdminParity = ParityTest<CAdminDlg>;
TEST_F(AdminParity, StoresTheSameFile) {
  const std::string file = test::SecretFile(folder.Path(), "new", "N3w pass\n");
  Check({{"a password",
          [](test::PageDriver& ui, CAdminDlg&) { ui.Type(CAdminDlg::kPasswordId, "N3w pass"); },
          {"admin", "--new-password-file", file}}});
}

using AccountingParity = ParityTest<CAccountingDlg>;
TEST_F(AccountingParity, StoresTheSameFile) {
  const auto fill = [](int system, int type, const char* account, const char* user) {
    return [=](test::PageDriver& ui, CAccountingDlg&) {
      ui.Choose(CAccountingDlg::kSystemListId, system);
      ui.Choose(CAccountingDlg::kTypeListId, type);
      ui.Type(CAccountingDlg::kAccountIdId, account);
      ui.Type(CAccountingDlg::kUserIdId, user);
    };
  };
  Check({{"standard, general",
          fill(1, 1, "123", "u1"),
          {"accounting", "--system", "standard", "--type", "general", "--account-id", "123",
           "--user-id", "u1"}},
         {"standard, default group",
          fill(1, 0, "55", ""),
          {"accounting", "--system", "standard", "--account-id", "55"}},
         {"network",
          fill(2, 2, "a-7", "u2"),
          {"accounting", "--system", "network", "--type", "group", "--account-id", "a-7",
           "--user-id", "u2"}},
         {"none", fill(0, 0, "1", "2"), {"accounting", "--account-id", "1", "--user-id", "2"}}});
}

using TallyonParity = ParityTest<CTallyonDlg>;
TEST_F(TallyonParity, StoresTheSameFile) {
  const std::string passcode = test::SecretFile(folder.Path(), "passcode", "4711");
  const auto fill = [](const char* user, const char* code) {
    return [=](test::PageDriver& ui, CTallyonDlg&) {
      ui.Type(CTallyonDlg::kUserIdId, user);
      ui.Type(CTallyonDlg::kPasscodeId, code);
    };
  };
  Check({{"both",
          fill("auditor", "4711"),
          {"tallyon", "--user-id", "auditor", "--passcode-file", passcode}},
         {"empty", fill("", ""), {"tallyon"}}});
}

using FtpParity = ParityTest<CFTPDlg>;
TEST_F(FtpParity, StoresTheSameFile) {
  const std::string password = test::SecretFile(folder.Path(), "ftp", "s3cret");
  const auto fill = [](const char* host, const char* user, const char* pass, const char* dest) {
    return [=](test::PageDriver& ui, CFTPDlg&) {
      ui.Type(CFTPDlg::kServerId, host);
      ui.Type(CFTPDlg::kUserNameId, user);
      ui.Type(CFTPDlg::kPasswordId, pass);
      ui.Type(CFTPDlg::kDestinationId, dest);
    };
  };
  Check({{"everything",
          fill("ftp.example", "scan", "s3cret", "/in box"),
          {"ftp", "--host", "ftp.example", "--user", "scan", "--ftp-password-file", password,
           "--destination", "/in box"}},
         {"no password or destination",
          fill("10.0.0.9", "anon", "", ""),
          {"ftp", "--host", "10.0.0.9", "--user", "anon"}}});
}

using HttpParity = ParityTest<CHTTPDlg>;
TEST_F(HttpParity, StoresTheSameFile) {
  const auto fill = [](const char* http, const char* https) {
    return [=](test::PageDriver& ui, CHTTPDlg&) {
      ui.Type(CHTTPDlg::kHttpPortId, http);
      ui.Type(CHTTPDlg::kHttpsPortId, https);
    };
  };
  Check({{"both", fill("8080", "8443"), {"http", "--http-port", "8080", "--https-port", "8443"}},
         {"defaults but one", fill("81", "443"), {"http", "--http-port", "81"}}});
}

using SnmpParity = ParityTest<CSNMPDlg>;
TEST_F(SnmpParity, StoresTheSameFile) {
  const std::string auth = test::SecretFile(folder.Path(), "auth", "auth pass");
  const std::string priv = test::SecretFile(folder.Path(), "priv", "");
  Check({{"version 1",
          [](test::PageDriver& ui, CSNMPDlg&) {
            ui.Choose(CSNMPDlg::kVersionListId, 0);
            ui.Type(CSNMPDlg::kGetCommunityId, "public");
            ui.Type(CSNMPDlg::kSetCommunityId, "");
          },
          {"snmp", "--get-community", "public"}},
         {"version 3",
          [](test::PageDriver& ui, CSNMPDlg&) {
            ui.Choose(CSNMPDlg::kVersionListId, 1);
            ui.Type(CSNMPDlg::kAuthPasswordId, "auth pass");
            ui.Type(CSNMPDlg::kPrivPasswordId, "");
          },
          {"snmp", "--version", "3", "--auth-password-file", auth, "--priv-password-file", priv}}});
}

using DualIpParity = ParityTest<CDualIPDlg>;
TEST_F(DualIpParity, StoresTheSameFiles) {
  Check({{"add",
          [](test::PageDriver& ui, CDualIPDlg&) {
            ui.Click(CDualIPDlg::kAddId);
            ASSERT_TRUE(ui.Address(CDualIPDlg::kAddressId).SetText("192.168.1.50"));
            ASSERT_TRUE(ui.Address(CDualIPDlg::kMaskId).SetText("255.255.255.0"));
          },
          {"dual-ip", "--address", "192.168.1.50", "--mask", "255.255.255.0"}},
         {"delete",
          [](test::PageDriver& ui, CDualIPDlg&) { ui.Click(CDualIPDlg::kDeleteId); },
          {"dual-ip", "--delete"}}});
}

}  // namespace
}  // namespace azu
