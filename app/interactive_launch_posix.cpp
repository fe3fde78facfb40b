#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/interactive_run.h"

namespace azu {

namespace {
constexpr const char* kWindowsProgram = "azuqvc-gui";
// Where an installed azuqvc finds the windows program, relative to its own folder (the build
// sets it from the install layout); a build tree has it beside azuqvc.
#ifdef AZUQVC_GUI_FROM_BINDIR
constexpr const char* kInstalledFolder = AZUQVC_GUI_FROM_BINDIR;
#else
constexpr const char* kInstalledFolder = "../libexec/azuqvc";
#endif

// Says why on standard error.
int CannotStart(const std::string& program, int error) {
  std::fprintf(stderr, "azuqvc: cannot start %s: %s\n", program.c_str(), std::strerror(error));
  return kCannotStartWindows;
}

}  // namespace

// The windows live in the sibling program, so that this one never loads the window system's
// libraries: the headless watcher runs on a server with neither display nor memory to spare.
int RunInteractive(int /*argc*/, char** argv) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  // Beside azuqvc in a build tree, in the libexec folder once installed; only a missing program
  // sends us on to the next place, any other failure is the answer.
  const std::string candidates[] = {
      error ? kWindowsProgram : (self.parent_path() / kWindowsProgram).string(),
      (self.parent_path() / kInstalledFolder / kWindowsProgram).lexically_normal().string()};
  const std::size_t places = error ? 1 : 2;
  for (std::size_t i = 0; i < places; ++i) {
    execv(candidates[i].c_str(), argv);
    if (errno != ENOENT) return CannotStart(candidates[i], errno);
  }
  return CannotStart(candidates[0], ENOENT);
}

}  // namespace azu
