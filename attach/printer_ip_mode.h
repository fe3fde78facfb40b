#pragma once
// The headless watcher of the printer attachment, started on the server as `azuqvc printerip`.

namespace azu {

// Runs the watcher to its end. Never opens a window.
void RunPrinterIpMode();

}  // namespace azu
