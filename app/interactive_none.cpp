#include <cstdio>

#include "app/interactive_run.h"

namespace azu {

// A build without Qt for Windows: the headless watcher is all there is.
int RunInteractive(int /*argc*/, char** /*argv*/) {
  std::fputs(
      "azuqvc: this build has no window (it was made without Qt for Windows); "
      "`azuqvc printerip` runs the headless watcher\n",
      stderr);
  return kCannotStartWindows;
}

}  // namespace azu
