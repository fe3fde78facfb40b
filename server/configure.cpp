#include "server/configure.h"

#include "framework/message_box.h"
#include "server/transaction.h"

namespace azu {

void RunConfigure(ServerLibrary& library, const std::string& serverName,
                  const ConfigureSteps& steps) {
  if (serverName.empty()) {
    ShowTextMessage("M_SPECIFYZORNE", kNoticeBox);
    return;
  }
  if (steps.checkPage && !steps.checkPage()) return;
  const std::optional<std::string> password = steps.askPassword();
  if (!password) return;

  VIREO_CONNECTION connection = 0;
  if (library.Connect(serverName, *password, &connection) != VIREO_OK) {
    ShowTextMessage("M_INCORRECTPASSWORD", kErrorBox);  // a wrong password and no server alike
    return;
  }
  steps.transaction(connection);
  library.Disconnect(connection);
}

}  // namespace azu
