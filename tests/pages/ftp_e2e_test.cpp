// The Scan to FTP page end to end: the whole file the server holds afterwards, and no reboot.

#include <gtest/gtest.h>

#include "pages/ftp_dlg.h"
#include "tests/pages/e2e_fixture.h"

namespace azu {
namespace {

constexpr const char* kScanToFtp = "/not-scsi0/dev0/ScanToFtp_input.txt";

class FtpEndToEndTest : public test::PageEndToEndTest<CFTPDlg> {
 protected:
  void SetUp() override {
    PageEndToEndTest::SetUp();
    ASSERT_TRUE(emulator.WriteServerFile(kScanToFtp,
                                         "hostname:old\r\nusername:old\r\n"
                                         "password:old\r\ndestination:old\r\n"));
    ui.Type(CFTPDlg::kServerId, "ftp.example.com");
    ui.Type(CFTPDlg::kUserNameId, "scanner");
  }
  void ExpectConfirmedWithoutReboot() {
    ASSERT_EQ(recorder.Boxes().size(), 1U);
    EXPECT_EQ(recorder.Boxes()[0].text, "Scan to FTP is configured");
    EXPECT_EQ(recorder.Boxes()[0].type, kInformationBox);
    EXPECT_FALSE(Logged("reboot"));
  }
};

TEST_F(FtpEndToEndTest, PasswordAndDestinationAreWrittenAsTyped) {
  ui.Type(CFTPDlg::kPasswordId, "p:w d");
  ui.Type(CFTPDlg::kDestinationId, "/scans/in");
  page.Configure();
  EXPECT_EQ(emulator.ReadServerFile(kScanToFtp),
            "hostname:ftp.example.com\r\nusername:scanner\r\npassword:p:w d\r\n"
            "destination:/scans/in\r\n");
  ExpectConfirmedWithoutReboot();
}

TEST_F(FtpEndToEndTest, WithoutPasswordAndDestinationTheFileHasTwoLines) {
  page.Configure();
  EXPECT_EQ(emulator.ReadServerFile(kScanToFtp),
            "hostname:ftp.example.com\r\nusername:scanner\r\n");
  ExpectConfirmedWithoutReboot();
}

TEST_F(FtpEndToEndTest, DestinationWithoutPasswordSkipsOnlyThePasswordLine) {
  ui.Type(CFTPDlg::kDestinationId, "scans");
  page.Configure();
  EXPECT_EQ(emulator.ReadServerFile(kScanToFtp),
            "hostname:ftp.example.com\r\nusername:scanner\r\ndestination:scans\r\n");
}

}  // namespace
}  // namespace azu
