#pragma once
// Switching the server to the attachment that the printer address implies: the file set of
// that mode copied, edited and installed, then the server's services restarted.

#include "attach/attach_services.h"
#include "attach/detached_printer_dlg.h"

namespace azu {

// Pauses before the restart and between stopping and starting the server service.
inline constexpr unsigned kRestartPauseMilliseconds = 10000;
inline constexpr unsigned kServiceRestartPauseMilliseconds = 5000;

// True when the set was installed and the services restarted. A failing step stops the switch
// there, with the live set still wholly in its old mode and no restart. A stop requested before
// the install leaves the live set alone; once the install has begun it completes (or is put back)
// and the services are restarted, so the server never runs files it has not loaded. A switch cut
// short by a crash leaves its journal for FinishCutShortSwitch at the next start.
bool ApplyFileSetLocal(CDetachedPrinterDlg& state, const AttachServices& services);

// Before anything else at start: finishes a switch that a crash cut short (its staged files
// installed, the services restarted, the journal removed), or, when it cannot be finished, rolls
// back to the set it replaced or leaves the files, says what is inconsistent and touches the
// changed marker. Without a journal, only deletes staged files a crash left before journaling.
void FinishCutShortSwitch(CDetachedPrinterDlg& state, const AttachServices& services);

// Stops the LCD and web services, then restarts the server software through the local server
// library, or by stopping and starting its service when no connection can be had.
void RestartServices(const AttachServices& services);

}  // namespace azu
