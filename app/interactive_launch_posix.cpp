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
}  // namespace

// The windows live in the sibling program, so that this one never loads the window system's
// libraries: the headless watcher runs on a server with neither display nor memory to spare.
int RunInteractive(int /*argc*/, char** argv) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) {
    execv(kWindowsProgram, argv);
    std::fprintf(stderr, "azuqvc: cannot start %s: %s\n", kWindowsProgram, std::strerror(errno));
    return kCannotStartWindows;
  }
  const std::string sibling = (self.parent_path() / kWindowsProgram).string();
  execv(sibling.c_str(), argv);
  const int sibling_error = errno;
  // Only a missing sibling sends us to the installed folder; any other failure is the answer.
  if (sibling_error == ENOENT) {
    const std::string installed =
        (self.parent_path() / kInstalledFolder / kWindowsProgram).lexically_normal().string();
    execv(installed.c_str(), argv);
    if (errno != ENOENT) {
      std::fprintf(stderr, "azuqvc: cannot start %s: %s\n", installed.c_str(),
                   std::strerror(errno));
      return kCannotStartWindows;
    }
  }
  std::fprintf(stderr, "azuqvc: cannot start %s: %s\n", sibling.c_str(),
               std::strerror(sibling_error));
  return kCannotStartWindows;
}

}  // namespace azu
