// The Scan to FTP page: its checks in order, its confirmation instead of a reboot, its failures.

#include "pages/ftp_dlg.h"

#include <gtest/gtest.h>

#include "tests/pages/page_fixture.h"

namespace azu {
namespace {

constexpr const char* kScanToFtp = "/not-scsi0/dev0/ScanToFtp_input.txt";

using FtpPageTest = test::FakePageTest<CFTPDlg>;

TEST_F(FtpPageTest, ChecksServerNameThenFtpServerThenUserName) {
  page.serverName.clear();
  page.Configure();
  page.serverName = "zorne1";
  page.Configure();
  ui.Type(CFTPDlg::kServerId, "ftp.example");
  page.Configure();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"You need to specify a Zorne Server",
                                               "You need to specify a Server",
                                               "You need to specify a Username"}));
  for (const auto& box : recorder.Boxes()) EXPECT_EQ(box.type, kNoticeBox);
  EXPECT_EQ(prompts, 0);
}

TEST_F(FtpPageTest, ConfirmsWithAnInformationBoxAndNeverReboots) {
  ui.Type(CFTPDlg::kServerId, "ftp.example");
  ui.Type(CFTPDlg::kUserNameId, "scan");
  ui.Type(CFTPDlg::kPasswordId, "a:b");
  page.Configure();
  EXPECT_EQ(library.files[kScanToFtp], "hostname:ftp.example\r\nusername:scan\r\npassword:a:b\r\n");
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].text, "Scan to FTP is configured");
  EXPECT_EQ(recorder.Boxes()[0].type, kInformationBox);
  EXPECT_FALSE(Called("Reboot"));
  EXPECT_EQ(ui.Edit(CFTPDlg::kPasswordId)->echoMode(), QLineEdit::Password);
}

TEST_F(FtpPageTest, FailedSessionShowsItsStatusAndNoConfirmation) {
  ui.Type(CFTPDlg::kServerId, "ftp.example");
  ui.Type(CFTPDlg::kUserNameId, "scan");
  library.failAt = {{"OpenSession", VIREO_E_SESSION_ENDED}};
  page.Configure();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Scan to FTP not set: openSession (" +
                                               std::to_string(VIREO_E_SESSION_ENDED) + ")"}));
  EXPECT_EQ(recorder.Boxes()[0].type, kErrorBox);
}

}  // namespace
}  // namespace azu
