#include "attach/file_set_switch.h"

namespace azu {
namespace {

constexpr const char* kLcdService = "AZU CommonLCD";
constexpr const char* kWebService = "Apache";
constexpr const char* kServerService = "AZU Zorne";
// The administrator password of the server's own software.
constexpr const char* kLocalPassword = "RONDEL";

}  // namespace

bool ApplyFileSetLocal(CDetachedPrinterDlg& state, const AttachServices& services) {
  const AttachmentMode mode = ModeOf(state.PrinterAddress());
  if (state.CopyFileSetLocal(mode) != kFileSetRows) return false;
  if (state.EditFileSet(mode) != kFileSetRows) return false;
  // The working copies are ours; the live files are touched only unstopped.
  if (services.stop.Requested()) return false;
  if (state.InstallFileSetLocal() != kFileSetRows) return false;
  RestartServices(services);
  state.EndSwitch();
  return true;
}

void RestartServices(const AttachServices& services) {
  services.clock.Sleep(kRestartPauseMilliseconds);
  services.services.Stop(kLcdService);
  services.services.Stop(kWebService);
  VIREO_CONNECTION connection = 0;
  if (services.library.ConnectLocal(kLocalPassword, &connection) == VIREO_OK) {
    services.library.Restart(connection);
    services.library.Disconnect(connection);
    return;
  }
  services.services.Stop(kServerService);
  services.clock.Sleep(kServiceRestartPauseMilliseconds);
  services.services.Start(kServerService);
}

}  // namespace azu
