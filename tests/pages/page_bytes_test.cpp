// One table of page inputs and the bytes each page stores for them, run by every renderer: the
// Qt window on Linux and the Win32 window under wine drive their own controls and must store the
// same bytes.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/text_table.h"
#include "framework/recording_message_sink.h"
#include "pages/accounting_dlg.h"
#include "pages/admin_dlg.h"
#include "pages/dual_ip_dlg.h"
#include "pages/ftp_dlg.h"
#include "pages/http_dlg.h"
#include "pages/snmp_dlg.h"
#include "pages/tallyon_dlg.h"
#include "platform/resource.h"
#include "tests/support/fake_library.h"
#include "tests/support/page_steps.h"
#include "tests/support/temp_folder.h"

namespace azu {
namespace {

using test::Address;
using test::Choose;
using test::Click;
using test::Type;

constexpr const char* kMainConfig = "/not-scsi0/dev0/maj_0.cfg";
constexpr const char* kRules = "/not-scsi0/net/oemnetshrules.bat";
// A main configuration that holds keys of every page.
constexpr const char* kSeed =
    "Name=zorne1\r\nURL=100.100.100.101\r\nsnmp.version=3\r\nSNMP.UserName=Vadmin\r\n"
    "accounting.AccountID=9\r\nAZPersUserID=old\r\nDualIPAddress=10.9.9.9\r\n"
    "DualIPSubnetMask=255.0.0.0\r\n";

using MakePage = std::function<std::unique_ptr<CPage>(PageServices)>;
template <typename Page>
MakePage Make() {
  return [](PageServices services) { return std::make_unique<Page>(std::move(services)); };
}

struct Row {
  const char* name;
  MakePage make;
  std::vector<test::PageStep> steps;
  const char* path;      // the file the page stores
  const char* expected;  // its bytes afterwards
};

const std::vector<Row>& Rows() {
  static const std::vector<Row> rows{
      {"admin",
       Make<CAdminDlg>(),
       {Type(CAdminDlg::kPasswordId, "N3w pass")},
       "/not-scsi0/config_files/engineInfo",
       "N3w pass\r\n"},
      {"accounting standard, general",
       Make<CAccountingDlg>(),
       {Choose(CAccountingDlg::kSystemListId, 1), Choose(CAccountingDlg::kTypeListId, 1),
        Type(CAccountingDlg::kAccountIdId, "123"), Type(CAccountingDlg::kUserIdId, "u1")},
       kMainConfig,
       "Name=zorne1\r\nURL=100.100.100.101\r\nsnmp.version=3\r\nSNMP.UserName=Vadmin\r\naccounting."
       "AccountID=123\r\nAZPersUserID=old\r\nDualIPAddress=10.9.9.9\r\nDualIPSubnetMask=255.0.0."
       "0\r\naccounting.accountingsystem=StandardAccounting\r\naccounting.accounttype="
       "GeneralAccount\r\naccounting.userid=u1\r\n"},
      {"accounting network",
       Make<CAccountingDlg>(),
       {Choose(CAccountingDlg::kSystemListId, 2), Choose(CAccountingDlg::kTypeListId, 2),
        Type(CAccountingDlg::kAccountIdId, "a-7"), Type(CAccountingDlg::kUserIdId, "u2")},
       kMainConfig,
       "Name=zorne1\r\nURL=100.100.100.101\r\nsnmp.version=3\r\nSNMP.UserName=Vadmin\r\naccounting."
       "AccountID=a-7\r\nAZPersUserID=old\r\nDualIPAddress=10.9.9.9\r\nDualIPSubnetMask=255.0.0."
       "0\r\naccounting.accountingsystem=NetworkAccounting\r\naccounting.userid=u2\r\n"},
      {"accounting none",
       Make<CAccountingDlg>(),
       {Choose(CAccountingDlg::kSystemListId, 0), Type(CAccountingDlg::kAccountIdId, "1")},
       kMainConfig,
       "Name=zorne1\r\nURL=100.100.100.101\r\nsnmp.version=3\r\nSNMP.UserName="
       "Vadmin\r\nAZPersUserID=old\r\nDualIPAddress=10.9.9.9\r\nDualIPSubnetMask=255.0.0."
       "0\r\naccounting.accountingsystem=None\r\n"},
      {"tallyon",
       Make<CTallyonDlg>(),
       {Type(CTallyonDlg::kUserIdId, "auditor"), Type(CTallyonDlg::kPasscodeId, "4711")},
       kMainConfig,
       "Name=zorne1\r\nURL=100.100.100.101\r\nsnmp.version=3\r\nSNMP.UserName=Vadmin\r\naccounting."
       "AccountID=9\r\nAZPersUserID=auditor\r\nDualIPAddress=10.9.9.9\r\nDualIPSubnetMask=255.0.0."
       "0\r\nAZPersUserPWD=4711\r\n"},
      {"ftp",
       Make<CFTPDlg>(),
       {Type(CFTPDlg::kServerId, "ftp.example"), Type(CFTPDlg::kUserNameId, "scan"),
        Type(CFTPDlg::kPasswordId, "s3cret"), Type(CFTPDlg::kDestinationId, "/in box")},
       "/not-scsi0/dev0/ScanToFtp_input.txt",
       "hostname:ftp.example\r\nusername:scan\r\npassword:s3cret\r\ndestination:/in box\r\n"},
      {"http",
       Make<CHTTPDlg>(),
       {Type(CHTTPDlg::kHttpPortId, "8080"), Type(CHTTPDlg::kHttpsPortId, "8443")},
       "/not-scsi0/config_files/engineHTTP",
       "HTTP=8080\r\nHTTPS=8443\r\n"},
      {"snmp version 1",
       Make<CSNMPDlg>(),
       {Choose(CSNMPDlg::kVersionListId, 0), Type(CSNMPDlg::kGetCommunityId, "public"),
        Type(CSNMPDlg::kSetCommunityId, "")},
       kMainConfig,
       "Name=zorne1\r\nURL=100.100.100.101\r\nsnmp.version=1\r\naccounting.AccountID="
       "9\r\nAZPersUserID=old\r\nDualIPAddress=10.9.9.9\r\nDualIPSubnetMask=255.0.0.0\r\nsnmp."
       "getcommunityname=public\r\nsnmp.setcommunityname=\r\n"},
      {"snmp version 3",
       Make<CSNMPDlg>(),
       {Choose(CSNMPDlg::kVersionListId, 1), Type(CSNMPDlg::kAuthPasswordId, "auth pass"),
        Type(CSNMPDlg::kPrivPasswordId, "")},
       kMainConfig,
       "Name=zorne1\r\nURL=100.100.100.101\r\nsnmp.version=3\r\nSNMP.UserName=Vadmin\r\naccounting."
       "AccountID=9\r\nAZPersUserID=old\r\nDualIPAddress=10.9.9.9\r\nDualIPSubnetMask=255.0.0."
       "0\r\nsnmp.authpassword=auth pass\r\nsnmp.privpassword=\r\n"},
      {"dual ip add",
       Make<CDualIPDlg>(),
       {Click(CDualIPDlg::kAddId), Address(CDualIPDlg::kAddressId, "192.168.1.50"),
        Address(CDualIPDlg::kMaskId, "255.255.255.0")},
       kMainConfig,
       "Name=zorne1\r\nURL=100.100.100.101\r\nsnmp.version=3\r\nSNMP.UserName=Vadmin\r\naccounting."
       "AccountID=9\r\nAZPersUserID=old\r\nDualIPAddress=192.168.1.50\r\nDualIPSubnetMask=255.255."
       "255.0\r\n"},
      {"dual ip delete",
       Make<CDualIPDlg>(),
       {Click(CDualIPDlg::kDeleteId)},
       kMainConfig,
       "Name=zorne1\r\nURL=100.100.100.101\r\nsnmp.version=3\r\nSNMP.UserName=Vadmin\r\naccounting."
       "AccountID=9\r\nAZPersUserID=old\r\n"},
  };
  return rows;
}

TEST(PageBytes, EveryPageStoresTheBytesOfTheTable) {
  ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
  for (const Row& row : Rows()) {
    SCOPED_TRACE(row.name);
    const test::TempFolderScope folder;
    test::FakeLibrary library;
    library.files[kMainConfig] = kSeed;
    library.files[kRules] = "rules\r\n";
    RecordingMessageSink recorder;
    const ScopedMessageSink installed(recorder);
    const std::unique_ptr<CPage> page =
        row.make({library, [] { return std::optional<std::string>("RONDEL"); }});
    ASSERT_TRUE(page->Create(nullptr));
    page->serverName = "zorne1";
    for (const test::PageStep& step : row.steps) ASSERT_TRUE(test::Drive(*page, step));
    page->Configure();
    EXPECT_EQ(library.files[row.path], row.expected);
    page->DestroyWindow();
  }
}

}  // namespace
}  // namespace azu
