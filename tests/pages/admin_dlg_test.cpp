// The Admin page against a library stand-in: its check, its file, its ending.

#include "pages/admin_dlg.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "app/text_table.h"
#include "framework/qt/qt_dialog.h"
#include "framework/recording_message_sink.h"
#include "platform/resource.h"
#include "tests/support/fake_library.h"
#include "tests/support/temp_folder.h"

namespace azu {
namespace {

constexpr const char* kEngineInfo = "/not-scsi0/config_files/engineInfo";

class AdminPageTest : public testing::Test {
 protected:
  void SetUp() override {
    ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
    ASSERT_TRUE(page.Create(nullptr));
    page.serverName = "zorne1";
  }
  QLineEdit* PasswordField() { return qobject_cast<QLineEdit*>(QtWidget(page.Item(1015))); }

  test::TempFolderScope folder;
  test::FakeLibrary library;
  RecordingMessageSink recorder;
  ScopedMessageSink installed{recorder};
  int prompts = 0;
  CAdminDlg page{PageServices{library, [this]() -> std::optional<std::string> {
                                ++prompts;
                                return std::string("RONDEL");
                              }}};
};

TEST_F(AdminPageTest, EmptyPasswordStopsBeforeThePrompt) {
  page.Configure();
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].text, "You need to specify an Admin Password");
  EXPECT_EQ(recorder.Boxes()[0].type, kNoticeBox);
  EXPECT_EQ(prompts, 0);
  EXPECT_TRUE(library.calls.empty());
}

TEST_F(AdminPageTest, ServerNameIsCheckedFirst) {
  page.serverName.clear();
  page.Configure();
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].text, "You need to specify a Zorne Server");
}

TEST_F(AdminPageTest, PasswordIsStoredAsTypedWithCrLfAndTheRebootIsOffered) {
  PasswordField()->setText(QStringLiteral("pass = word 1"));
  recorder.SetNextAnswer(IDYES);
  page.Configure();
  EXPECT_EQ(library.files[kEngineInfo], "pass = word 1\r\n");
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].type, kQuestionBox);
  EXPECT_EQ(library.calls, (std::vector<std::string>{"Connect zorne1", "OpenSession",
                                                     "PutFile " + std::string(kEngineInfo),
                                                     "CloseSession", "Reboot", "Disconnect 42"}));
  EXPECT_TRUE(folder.Files().empty());
}

TEST_F(AdminPageTest, FieldTakesThirtyCharacters) {
  PasswordField()->clear();
  PasswordField()->setFocus();
  QTest::keyClicks(PasswordField(), QString(31, QLatin1Char('p')));
  EXPECT_EQ(PasswordField()->text().size(), 30);
  EXPECT_EQ(PasswordField()->echoMode(), QLineEdit::Password);
  page.Configure();
  EXPECT_EQ(library.files[kEngineInfo], std::string(30, 'p') + "\r\n");
}

TEST_F(AdminPageTest, FailedStoreShowsThePutFileMessageAndOffersNoReboot) {
  PasswordField()->setText(QStringLiteral("x"));
  library.failAt = {{"PutFile", VIREO_E_PATH}};
  page.Configure();
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].text, "Admin password not set: putFile (7008)");
  EXPECT_EQ(library.calls.back(), "Disconnect 42");
  EXPECT_TRUE(folder.Files().empty());
}

}  // namespace
}  // namespace azu
