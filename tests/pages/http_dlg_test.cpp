// The HTTP page: the port fields' exchange (0 to 65535, the framework's prompts), the equal-ports
// check and the stored file.

#include "pages/http_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "framework/qt/qt_dialog.h"
#include "tests/pages/page_fixture.h"

namespace azu {
namespace {

constexpr const char* kEngineHttp = "/not-scsi0/config_files/engineHTTP";
constexpr int kHttp = CHTTPDlg::kHttpPortId;
constexpr int kHttps = CHTTPDlg::kHttpsPortId;

using HttpPageTest = test::FakePageTest<CHTTPDlg>;

TEST_F(HttpPageTest, OpensWithTheStandardPorts) {
  EXPECT_EQ(ui.Edit(kHttp)->text(), "80");
  EXPECT_EQ(ui.Edit(kHttps)->text(), "443");
  EXPECT_EQ(page.ItemText(1055), "HTTPS Port:");
}

TEST_F(HttpPageTest, PortsFromZeroTo65535AreStoredWithoutLeadingZeros) {
  ui.Type(kHttp, "0");
  ui.Type(kHttps, "65535");
  page.Configure();
  EXPECT_EQ(library.files[kEngineHttp], "HTTP=0\r\nHTTPS=65535\r\n");
  ui.Type(kHttp, "0080");
  ui.Type(kHttps, "00443");
  page.Configure();
  EXPECT_EQ(library.files[kEngineHttp], "HTTP=80\r\nHTTPS=443\r\n");
}

TEST_F(HttpPageTest, RefusedPortPromptsFocusesAndKeepsTheText) {
  page.Show(true);
  QApplication::setActiveWindow(QtWidget(page.Window()));
  struct Case {
    int id;
    const char* text;
    std::string prompt;
  };
  for (const Case& c : {Case{kHttp, "65536", "Please enter a whole number between 0 and 65535."},
                        Case{kHttps, "65536", "Please enter a whole number between 0 and 65535."},
                        Case{kHttps, "", "Please enter a whole number (digits only)."}}) {
    SCOPED_TRACE(c.text);
    recorder.Clear();
    ui.Type(kHttp, "8080");
    ui.Type(kHttps, "8443");
    ui.Type(c.id, c.text);
    page.Configure();
    EXPECT_EQ(Texts(), std::vector<std::string>{c.prompt});
    EXPECT_EQ(recorder.Boxes()[0].type, kNoticeBox);
    EXPECT_TRUE(ui.Edit(c.id)->hasFocus());
    EXPECT_EQ(ui.Edit(c.id)->text(), c.text);
  }
  EXPECT_EQ(prompts, 0);
  EXPECT_TRUE(library.calls.empty());
}

TEST_F(HttpPageTest, FieldsTakeDigitsOnly) {
  ui.Edit(kHttp)->clear();
  QTest::keyClicks(ui.Edit(kHttp), QStringLiteral("8a0-8"));
  EXPECT_EQ(ui.Edit(kHttp)->text(), "808");
}

TEST_F(HttpPageTest, EqualPortsAreRefusedAfterTheServerName) {
  ui.Type(kHttp, "8080");
  ui.Type(kHttps, "8080");
  page.serverName.clear();
  page.Configure();
  page.serverName = "zorne1";
  page.Configure();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"You need to specify a Zorne Server",
                                               "The HTTP and HTTPS ports are the same"}));
  EXPECT_EQ(prompts, 0);
}

TEST_F(HttpPageTest, StoreIsFollowedByTheRebootOffer) {
  ui.Type(kHttp, "8080");
  ui.Type(kHttps, "8443");
  recorder.SetNextAnswer(IDYES);
  page.Configure();
  EXPECT_EQ(library.files[kEngineHttp], "HTTP=8080\r\nHTTPS=8443\r\n");
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].type, kQuestionBox);
  EXPECT_TRUE(Called("Reboot"));
}

}  // namespace
}  // namespace azu
