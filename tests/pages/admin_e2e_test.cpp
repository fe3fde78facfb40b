// The Admin page end to end: the real library against a real emulator on loopback.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <algorithm>
#include <cstdlib>

#include "app/text_table.h"
#include "framework/qt/qt_dialog.h"
#include "framework/recording_message_sink.h"
#include "pages/admin_dlg.h"
#include "platform/resource.h"
#include "tests/support/running_emulator.h"
#include "tests/support/tcp_relay.h"
#include "tests/support/temp_folder.h"

namespace azu {
namespace {

constexpr const char* kEngineInfo = "/not-scsi0/config_files/engineInfo";

class AdminEndToEndTest : public testing::Test {
 protected:
  void SetUp() override {
    ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
    ASSERT_TRUE(emulator.Started()) << emulator.Error();
    ASSERT_TRUE(emulator.WriteServerFile(kEngineInfo, "old-password\r\n"));
    ASSERT_TRUE(page.Create(nullptr));
    page.serverName = emulator.Address();
    qobject_cast<QLineEdit*>(QtWidget(page.Item(1015)))->setText(QStringLiteral("New-Pw 7"));
  }
  bool Logged(const std::string& event) {
    const auto events = emulator.Events();
    return std::find(events.begin(), events.end(), event) != events.end();
  }

  test::RunningEmulator emulator;
  test::TempFolderScope folder;
  RecordingMessageSink recorder;
  ScopedMessageSink installed{recorder};
  std::optional<std::string> typed = "RONDEL";
  CAdminDlg page{PageServices{VireoLibrary(), [this] { return typed; }}};
};

TEST_F(AdminEndToEndTest, StoresThePasswordAndRebootsOnYes) {
  recorder.SetNextAnswer(IDYES);
  page.Configure();
  EXPECT_EQ(emulator.ReadServerFile(kEngineInfo), "New-Pw 7\r\n");
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].type, kQuestionBox);
  EXPECT_TRUE(Logged("put"));
  EXPECT_TRUE(Logged("reboot"));
  EXPECT_FALSE(Logged("refused"));  // the reboot ended the session: no logout is sent after it
  EXPECT_TRUE(folder.Files().empty());
}

TEST_F(AdminEndToEndTest, NoLeavesTheServerRunningWithTheNewFile) {
  recorder.SetNextAnswer(IDNO);
  page.Configure();
  EXPECT_EQ(emulator.ReadServerFile(kEngineInfo), "New-Pw 7\r\n");
  EXPECT_TRUE(Logged("put"));
  EXPECT_FALSE(Logged("reboot"));
  EXPECT_TRUE(Logged("disconnect"));
}

TEST_F(AdminEndToEndTest, WrongPasswordChangesNothing) {
  typed = "guess";
  page.Configure();
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].text,
            "Zorne Administrator password incorrect or server unavailable");
  EXPECT_EQ(recorder.Boxes()[0].type, kErrorBox);
  EXPECT_EQ(emulator.ReadServerFile(kEngineInfo), "old-password\r\n");
  EXPECT_TRUE(Logged("auth-failure"));
  EXPECT_FALSE(Logged("put"));
}

TEST_F(AdminEndToEndTest, CancelledPromptNeverReachesTheServer) {
  typed.reset();
  page.Configure();
  EXPECT_TRUE(recorder.Boxes().empty());
  EXPECT_TRUE(emulator.Events().empty());
  EXPECT_EQ(emulator.ReadServerFile(kEngineInfo), "old-password\r\n");
}

TEST_F(AdminEndToEndTest, UnreachableServerGivesTheSameMessageAsAWrongPassword) {
  page.serverName = "127.0.0.1:1";  // nothing listens there
  page.Configure();
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].text,
            "Zorne Administrator password incorrect or server unavailable");
}

TEST_F(AdminEndToEndTest, AServerWhoseKeyChangedGetsABoxOfItsOwnAndNothingIsSent) {
  test::TcpRelay relay(emulator.Port());
  page.serverName = relay.Address();
  recorder.SetNextAnswer(IDNO);
  page.Configure();  // the first connect pins the server's key
  ASSERT_TRUE(Logged("put"));
  const std::string known = std::getenv("VIREO_KNOWN_SERVERS");

  // Another machine takes over the server's address.
  test::RunningEmulator impostor;
  ASSERT_TRUE(impostor.Started()) << impostor.Error();
  ::setenv("VIREO_KNOWN_SERVERS", known.c_str(), 1);
  relay.Retarget(impostor.Port());
  recorder.Clear();
  page.Configure();
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  const std::string& text = recorder.Boxes()[0].text;
  EXPECT_EQ(recorder.Boxes()[0].type, kErrorBox);
  for (const std::string& part :
       {relay.Address(), impostor.KeyFingerprint(), emulator.KeyFingerprint(), known}) {
    EXPECT_NE(text.find(part), std::string::npos) << part << " in " << text;
  }
  EXPECT_TRUE(impostor.Events().empty()) << impostor.EventsLog();
}

}  // namespace
}  // namespace azu
