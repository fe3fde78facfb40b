#include "server/configure.h"

#include "app/cp1252.h"
#include "app/text_format.h"
#include "app/text_table.h"
#include "framework/message_box.h"
#include "server/transaction.h"

namespace azu {
namespace {

// The server is not the one this user trusted before: say so, show both keys and how to forget
// the old one, never the password message that would invite typing it again.
void ShowKeyMismatch(ServerLibrary& library, const std::string& serverName) {
  const std::optional<ServerKeyMismatch> mismatch = library.KeyMismatch(serverName);
  const std::string unknown = "?";
  // The path is the file system's UTF-8; every box text is Windows-1252.
  const std::string file = mismatch ? Utf8ToCp1252Lossy(mismatch->file) : unknown;
  ShowMessageBox(
      FormatTexts(GetText("M_HOSTKEY"), {serverName, mismatch ? mismatch->shown : unknown,
                                         mismatch ? mismatch->pinned : unknown, file}),
      kErrorBox);
}

}  // namespace

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
  if (const VIREO_STATUS status = library.Connect(serverName, *password, &connection)) {
    if (status == VIREO_E_HOSTKEY) {
      ShowKeyMismatch(library, serverName);
    } else {
      ShowTextMessage("M_INCORRECTPASSWORD", kErrorBox);  // a wrong password and no server alike
    }
    return;
  }
  steps.transaction(connection);
  library.Disconnect(connection);
}

}  // namespace azu
