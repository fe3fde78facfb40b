#pragma once
// The headless watcher of the printer attachment, started on the server as `azuqvc printerip`.

#include "attach/attach_services.h"

namespace azu {

// Pause between the watcher's poll cycles.
inline constexpr unsigned kPollPauseMilliseconds = 5000;

// Runs the watcher to its end on the machine's own clock, network, files and services, with
// message boxes going to standard error and the system log. Never opens a window.
void RunPrinterIpMode();

// The same on the given collaborators. Learns the direct printer's MAC when none is known;
// otherwise watches for the known printer and switches the file set when its attachment changed.
void RunPrinterIpMode(const AttachServices& services);

}  // namespace azu
