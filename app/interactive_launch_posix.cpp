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
}  // namespace

// The windows live in the sibling program, so that this one never loads the window system's
// libraries: the headless watcher runs on a server with neither display nor memory to spare.
int RunInteractive(int /*argc*/, char** argv) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::string sibling =
      (error ? std::filesystem::path(kWindowsProgram) : self.parent_path() / kWindowsProgram)
          .string();
  execv(sibling.c_str(), argv);
  std::fprintf(stderr, "azuqvc: cannot start %s: %s\n", sibling.c_str(), std::strerror(errno));
  return kCannotStartWindows;
}

}  // namespace azu
