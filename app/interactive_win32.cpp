#include "app/interactive_run.h"
#include "framework/message_box.h"
#include "framework/win32/win32_message_sink.h"
#include "ui/azu_quorvane_config_dlg.h"

namespace azu {

int RunInteractive(int /*argc*/, char** /*argv*/) {
  CAzuQuorvaneConfigDlg mainWindow;  // builds the page objects; the window comes with DoModal
  Win32MessageSink sink;
  const ScopedMessageSink installed(sink);
  mainWindow.DoModal();
  return 0;
}

}  // namespace azu
