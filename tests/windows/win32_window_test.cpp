// The Win32 window under wine: the main window, the search dialog, the password prompt and the
// About box as real dialogs of the dialog manager, driven through window messages and keys.

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/text_table.h"
#include "framework/recording_message_sink.h"
#include "framework/win32/win32_dialog.h"
#include "pages/admin_dlg.h"
#include "pages/tallyon_dlg.h"
#include "platform/resource.h"
#include "resources/dialogs/dialog_templates.h"
#include "tests/support/discovered_record.h"
#include "tests/support/fake_library.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/modal_script.h"
#include "ui/azu_quorvane_config_dlg.h"
#include "ui/zorne_authentication_dlg.h"

namespace azu {
namespace {

using test::ClassOf;
using test::PressKey;
using test::TextOf;

using test::Record;

void TwoServers(DiscoveredServer* records, int capacity, int* count);

class Win32WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
  }

  test::TempFolderScope folder;
  test::FakeLibrary library;
  RecordingMessageSink recorder;
  ScopedMessageSink installed{recorder};
  int prompts = 0;
  CAzuQuorvaneConfigDlg window{PageServices{library,
                                            [this] {
                                              ++prompts;
                                              return std::optional<std::string>("RONDEL");
                                            }},
                               &TwoServers};
};

void TwoServers(DiscoveredServer* records, int capacity, int* count) {
  records[0] = Record("10.1.2.4", "other", "QV4010");
  records[1] = Record("10.1.2.3", "lab", "QV5020");
  *count = capacity >= 2 ? 2 : 0;
}

TEST_F(Win32WindowTest, MainWindowIsMadeOfTheRealControls) {
  HWND main = nullptr;
  test::StartModalScript({
      [&] {
        main = HwndOf(window.Window());
        if (main == nullptr || IsWindowVisible(main) == FALSE) return false;
        EXPECT_EQ(TextOf(main), "Azu Quorvane Config");
        const HWND tabs = GetDlgItem(main, CAzuQuorvaneConfigDlg::kTabsId);
        EXPECT_EQ(ClassOf(tabs), "SysTabControl32");
        EXPECT_NE(GetWindowLongPtrW(tabs, GWL_STYLE) & TCS_MULTILINE, 0);
        EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 2);  // SNMP, Admin
        const HWND series = GetDlgItem(main, CAzuQuorvaneConfigDlg::kSeriesListId);
        EXPECT_EQ(ClassOf(series), "ComboBox");
        EXPECT_EQ(SendMessageW(series, CB_GETCOUNT, 0, 0), 5);
        EXPECT_EQ(TextOf(series), "QV5000 Series");
        EXPECT_EQ(TextOf(GetDlgItem(main, IDOK)), "Configure...");
        EXPECT_NE(GetWindowLongPtrW(GetDlgItem(main, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON, 0);
        // The About entry below a separator in the system menu.
        HMENU menu = GetSystemMenu(main, FALSE);
        const int items = GetMenuItemCount(menu);
        std::array<wchar_t, 64> entry{};
        GetMenuStringW(menu, items - 1, entry.data(), static_cast<int>(entry.size()),
                       MF_BYPOSITION);
        EXPECT_EQ(Cp1252FromWide(entry.data()), kAboutBoxMenuText);
        EXPECT_EQ(GetMenuItemID(menu, items - 1), 0x0010U);
        return true;
      },
      [&] {
        // Typed text survives Ctrl+Tab, which changes the tab from the server field.
        SetDlgItemTextW(main, CAzuQuorvaneConfigDlg::kServerId, L"zorne1");
        PressKey(GetDlgItem(main, CAzuQuorvaneConfigDlg::kServerId), VK_TAB, true);
        return true;
      },
      [&] {
        const HWND tabs = GetDlgItem(main, CAzuQuorvaneConfigDlg::kTabsId);
        EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);
        EXPECT_EQ(TextOf(GetDlgItem(main, CAzuQuorvaneConfigDlg::kServerId)), "zorne1");
        EXPECT_EQ(TextOf(GetDlgItem(main, CAzuQuorvaneConfigDlg::kDescriptionId)),
                  GetText("M_ADMINTAB"));
        CPage* admin = window.CurrentPage();
        EXPECT_NE(dynamic_cast<CAdminDlg*>(admin), nullptr);
        if (admin == nullptr) return true;
        const HWND password = HwndOf(admin->Item(CAdminDlg::kPasswordId));
        EXPECT_TRUE(IsWindowVisible(password));
        SetWindowTextW(password, L"N3w pass");
        // Enter in a page's field presses the window's default button: Configure... .
        SetFocus(password);
        PressKey(password, VK_RETURN);
        return true;
      },
      [&] {
        EXPECT_EQ(library.files["/not-scsi0/config_files/engineInfo"], "N3w pass\r\n");
        EXPECT_EQ(prompts, 1);
        // The list's choice, as the user makes it: QV1000 has Print Tallyon, Dual IP, FTP.
        const HWND series = GetDlgItem(main, CAzuQuorvaneConfigDlg::kSeriesListId);
        SendMessageW(series, CB_SETCURSEL, 4, 0);
        SendMessageW(main, WM_COMMAND,
                     MAKEWPARAM(CAzuQuorvaneConfigDlg::kSeriesListId, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(series));
        const HWND tabs = GetDlgItem(main, CAzuQuorvaneConfigDlg::kTabsId);
        EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
        EXPECT_NE(dynamic_cast<CTallyonDlg*>(window.CurrentPage()), nullptr);
        EXPECT_EQ(TextOf(GetDlgItem(main, CAzuQuorvaneConfigDlg::kServerId)), "zorne1");
        // Tab from the strip goes into the shown page, then on to Configure... .
        SetFocus(tabs);
        PressKey(tabs, VK_TAB);
        return true;
      },
      [&] {
        CPage* tallyon = window.CurrentPage();
        EXPECT_EQ(GetFocus(),
                  tallyon != nullptr ? HwndOf(tallyon->Item(CTallyonDlg::kUserIdId)) : nullptr);
        PressKey(GetFocus(), VK_ESCAPE);  // Escape closes the window
        return true;
      },
  });
  EXPECT_EQ(window.DoModal(), IDCANCEL);
  EXPECT_TRUE(test::ModalScriptDone());
}

TEST_F(Win32WindowTest, SearchAboutBoxAndPasswordPrompt) {
  CAzuQuorvaneConfigDlg prompted{PageServices{library, AskZornePassword}, &TwoServers};
  library.files["/not-scsi0/dev0/maj_0.cfg"] = "snmp.version=3\r\n";
  HWND main = nullptr;
  test::StartModalScript({
      [&] {
        main = HwndOf(prompted.Window());
        if (main == nullptr || IsWindowVisible(main) == FALSE) return false;
        const HWND button = GetDlgItem(main, CAzuQuorvaneConfigDlg::kSearchId);
        SendMessageW(button, BM_CLICK, 0, 0);  // returns once the search dialog is closed
        return true;
      },
      [&] {
        const HWND search = test::TopDialog();
        if (search == nullptr || search == main) return false;
        EXPECT_EQ(TextOf(search), "Zorne Search");
        const HWND list = GetDlgItem(search, 1001);
        EXPECT_EQ(ClassOf(list), "SysListView32");
        EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);  // only the QV5000 server
        LVITEMW select{};
        select.stateMask = select.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&select));
        PressKey(list, VK_RETURN);  // OK, the default button
        return true;
      },
      [&] {
        if (test::TopDialog() != main) return false;
        EXPECT_EQ(TextOf(GetDlgItem(main, CAzuQuorvaneConfigDlg::kServerId)), "10.1.2.3");
        PostMessageW(main, WM_SYSCOMMAND, 0x0010, 0);  // the About entry
        return true;
      },
      [&] {
        const HWND about = test::TopDialog();
        if (about == nullptr || about == main) return false;
        EXPECT_EQ(TextOf(about), "About Azu Quorvane Config");
        EXPECT_EQ(TextOf(GetDlgItem(about, 1036)), GetText("M_ABOUT_VERSION"));
        EXPECT_EQ(TextOf(GetDlgItem(about, IDOK)), "OK");
        PressKey(GetDlgItem(about, IDOK), VK_RETURN);
        return true;
      },
      [&] {
        if (test::TopDialog() != main) return false;
        PressKey(GetDlgItem(main, CAzuQuorvaneConfigDlg::kServerId), VK_RETURN);  // Configure...
        return true;
      },
      [&] {
        const HWND prompt = test::TopDialog();
        if (prompt == nullptr || prompt == main) return false;
        EXPECT_EQ(TextOf(prompt), "Zorne Authentication");
        const HWND password = GetDlgItem(prompt, CZorneAuthenticationDlg::kPasswordId);
        EXPECT_NE(GetWindowLongPtrW(password, GWL_STYLE) & ES_PASSWORD, 0);
        EXPECT_EQ(GetFocus(), password);
        SetWindowTextW(password, L"RONDEL");
        PressKey(password, VK_RETURN);
        return true;
      },
      [&] {
        if (test::TopDialog() != main) return false;
        EXPECT_EQ(library.files["/not-scsi0/dev0/maj_0.cfg"],
                  "snmp.version=1\r\nsnmp.getcommunityname=\r\nsnmp.setcommunityname=\r\n");
        PressKey(main, VK_ESCAPE);
        return true;
      },
  });
  EXPECT_EQ(prompted.DoModal(), IDCANCEL);
  EXPECT_TRUE(test::ModalScriptDone());
}

}  // namespace
}  // namespace azu
