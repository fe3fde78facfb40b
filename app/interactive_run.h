#pragma once
// The interactive run: the main window, modal, until Close. The headless watcher must not load the
// window system's libraries, so on POSIX the program that starts it (azuqvc) hands this run to
// its sibling azuqvc-gui, which holds the windows.

namespace azu {

// The exit status when azuqvc-gui cannot be started: 127, as shells give for a command not found;
// used whatever the reason, which goes to standard error.
inline constexpr int kCannotStartWindows = 127;

// Returns the process's exit status: 0 once the window closed, kCannotStartWindows when the
// hand-over failed (on success the hand-over never returns).
[[nodiscard]] int RunInteractive(int argc, char** argv);

}  // namespace azu
