// The HTTP page end to end: the ports file the server holds afterwards, and the refused cases
// that never reach the server.

#include <gtest/gtest.h>

#include "pages/http_dlg.h"
#include "tests/pages/e2e_fixture.h"

namespace azu {
namespace {

constexpr const char* kEngineHttp = "/not-scsi0/config_files/engineHTTP";
constexpr const char* kOldPorts = "HTTP=80\r\nHTTPS=443\r\n";

class HttpEndToEndTest : public test::PageEndToEndTest<CHTTPDlg> {
 protected:
  void SetUp() override {
    PageEndToEndTest::SetUp();
    ASSERT_TRUE(emulator.WriteServerFile(kEngineHttp, kOldPorts));
  }
  void Ports(const char* http, const char* https) {
    ui.Type(CHTTPDlg::kHttpPortId, http);
    ui.Type(CHTTPDlg::kHttpsPortId, https);
  }
};

TEST_F(HttpEndToEndTest, LeadingZerosAreNotStored) {
  Ports("0080", "8443");
  recorder.SetNextAnswer(IDYES);
  page.Configure();
  EXPECT_EQ(emulator.ReadServerFile(kEngineHttp), "HTTP=80\r\nHTTPS=8443\r\n");
  EXPECT_TRUE(Logged("reboot"));
}

TEST_F(HttpEndToEndTest, PortAbove65535IsRefusedBeforeConnecting) {
  Ports("8080", "65536");
  page.Configure();
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].text, "Please enter a whole number between 0 and 65535.");
  EXPECT_EQ(emulator.ReadServerFile(kEngineHttp), kOldPorts);
  EXPECT_TRUE(emulator.Events().empty());
}

TEST_F(HttpEndToEndTest, EqualPortsAreRefusedBeforeConnecting) {
  Ports("8080", "8080");
  page.Configure();
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].text, "The HTTP and HTTPS ports are the same");
  EXPECT_EQ(emulator.ReadServerFile(kEngineHttp), kOldPorts);
  EXPECT_TRUE(emulator.Events().empty());
}

}  // namespace
}  // namespace azu
