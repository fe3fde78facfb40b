#pragma once
// The interactive run: the main window, modal, until Close. The headless watcher must not load the
// window system's libraries, so on POSIX the program that starts it (azuqvc) hands this run to
// its sibling azuqvc-gui, which holds the windows.

namespace azu {

void RunInteractive(int argc, char** argv);

}  // namespace azu
