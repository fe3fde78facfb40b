#include "app/azu_quorvane_config_app.h"

#include "app/command_line.h"
#include "app/interactive_run.h"
#include "app/text_table.h"
#include "attach/printer_ip_mode.h"
#include "framework/message_box.h"
#include "platform/console.h"
#include "platform/sockets.h"
#include "platform/system_language.h"

namespace azu {

bool CAzuQuorvaneConfigApp::InitInstance(int argc, char** argv) {
  SetApplicationName(kApplicationName);
  if (!platform::StartSockets()) return false;
  if (platform::ReadSystemLanguage(g_systemLanguage, kLanguageBufferSize)) LoadTextTable();

  switch (ChooseStartMode(argc, argv)) {
    case StartMode::Interactive:
      exitCode_ = RunInteractive(argc, argv);
      break;
    case StartMode::Headless:
      platform::UseStartingConsole();
      RunPrinterIpMode();
      break;
    case StartMode::Nothing:
      break;
  }
  return false;
}

}  // namespace azu
