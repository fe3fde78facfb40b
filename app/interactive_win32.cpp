#include <windows.h>
#include <commctrl.h>

#include "app/interactive_run.h"
#include "framework/message_box.h"
#include "framework/win32/win32_message_sink.h"
#include "ui/azu_quorvane_config_dlg.h"

namespace azu {

int RunInteractive(int /*argc*/, char** /*argv*/) {
  CAzuQuorvaneConfigDlg mainWindow;  // builds the page objects; the window comes with DoModal
  INITCOMMONCONTROLSEX controls{
      sizeof(INITCOMMONCONTROLSEX),
      ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  Win32MessageSink sink;
  const ScopedMessageSink installed(sink);
  mainWindow.DoModal();
  return 0;
}

}  // namespace azu
