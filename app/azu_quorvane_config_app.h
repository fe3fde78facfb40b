#pragma once
// The application object: prepares the process, loads the text table for the system language and
// runs the main window or the headless watcher, as the command line says.

namespace azu {

inline constexpr const char* kApplicationName = "Azu Quorvane Config";
// The framework's registry key; nothing is stored under it.
inline constexpr const char* kRegistryKey = "Local AppWizard-Generated Applications";

class CAzuQuorvaneConfigApp {
 public:
  // Always false: the process ends when it returns, with ExitCode() as its status.
  bool InitInstance(int argc, char** argv);
  // 0, unless the main window could not be started.
  [[nodiscard]] int ExitCode() const { return exitCode_; }

 private:
  int exitCode_ = 0;
};

}  // namespace azu
