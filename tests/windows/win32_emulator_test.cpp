// The Win32 window against a real zorne-emulator, through our vireo10.dll: Configure... with the
// password typed into the prompt stores the page on the server. The Windows tests' script starts
// the emulator on loopback and names it in AZU_EMULATOR; without it the test is skipped.

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "app/text_table.h"
#include "framework/recording_message_sink.h"
#include "framework/win32/win32_dialog.h"
#include "platform/resource.h"
#include "server/server_library.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/modal_script.h"
#include "ui/azu_quorvane_config_dlg.h"
#include "ui/zorne_authentication_dlg.h"

namespace azu {
namespace {

using test::PressKey;
using test::TextOf;

constexpr const char* kSnmpFile = "/not-scsi0/dev0/maj_0.cfg";

void NoServers(DiscoveredServer* /*records*/, int /*capacity*/, int* count) {
  *count = 0;
}

// The server's copy of `path`, fetched anew through the library.
std::optional<std::string> ServerCopy(const std::string& server, const std::string& path) {
  ServerLibrary& library = VireoLibrary();
  VIREO_CONNECTION connection = 0;
  if (library.Connect(server, "RONDEL", &connection) != VIREO_OK) return std::nullopt;
  VIREO_FT_SESSION session{};
  std::optional<std::string> copy;
  const std::string local = test::MakeTempFolder("azu-copy").string() + "\\copy";
  if (library.OpenSession(connection, &session) == VIREO_OK) {
    if (library.GetFile(&session, path, local) == VIREO_OK) {
      std::ifstream in(local, std::ios::binary);
      std::ostringstream content;
      content << in.rdbuf();
      copy = content.str();
    }
    library.CloseSession(&session);
  }
  library.Disconnect(connection);
  return copy;
}

TEST(Win32EmulatorTest, ConfigureStoresThePageOnTheServer) {
  const char* named = std::getenv("AZU_EMULATOR");
  if (named == nullptr || *named == '\0') GTEST_SKIP() << "AZU_EMULATOR names no emulator";
  const std::string server = named;  // a copy: changes to the environment move its texts
  ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
  const test::TempFolderScope folder;
  RecordingMessageSink recorder;
  const ScopedMessageSink installed{recorder};
  CAzuQuorvaneConfigDlg window{PageServices{VireoLibrary(), AskZornePassword}, &NoServers};
  HWND main = nullptr;
  test::StartModalScript({
      [&] {
        main = HwndOf(window.Window());
        if (main == nullptr || IsWindowVisible(main) == FALSE) return false;
        SetWindowTextA(GetDlgItem(main, CAzuQuorvaneConfigDlg::kServerId), server.c_str());
        return true;
      },
      [&] {
        // Typed once the window has shown its first page, which fills the field anew.
        const HWND field = GetDlgItem(main, CAzuQuorvaneConfigDlg::kServerId);
        if (TextOf(field) != server) {
          SetWindowTextA(field, server.c_str());
          return false;
        }
        PressKey(field, VK_RETURN);  // Configure... on the SNMP page
        return true;
      },
      [&] {
        const HWND prompt = test::TopDialog();
        if (prompt == nullptr || prompt == main) return false;
        const HWND password = GetDlgItem(prompt, CZorneAuthenticationDlg::kPasswordId);
        SetWindowTextW(password, L"RONDEL");
        PressKey(password, VK_RETURN);
        return true;
      },
      [&] {
        if (test::TopDialog() != main) return false;
        PressKey(main, VK_ESCAPE);
        return true;
      },
  });
  EXPECT_EQ(window.DoModal(), IDCANCEL);
  EXPECT_TRUE(test::ModalScriptDone());
  // Stored, and then only the reboot was offered (and declined).
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].type & MB_ICONMASK, static_cast<unsigned>(MB_ICONQUESTION))
      << recorder.Boxes()[0].text;
  EXPECT_EQ(ServerCopy(server, kSnmpFile),
            "snmp.version=1\r\nsnmp.getcommunityname=\r\nsnmp.setcommunityname=\r\n");
}

}  // namespace
}  // namespace azu
