#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/service_control.h"

extern char** environ;

namespace azu::platform {
namespace {

// Runs `program action unit` without a shell and waits for it.
void Run(const char* action, std::string_view service) {
  const char* configured = std::getenv("AZUQVC_SERVICE_CTL");
  std::string program = configured != nullptr && *configured != '\0' ? configured : "systemctl";
  std::string verb = action;
  std::string unit = ServiceUnit(service);
  std::vector<char*> arguments = {program.data(), verb.data(), unit.data(), nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, program.c_str(), nullptr, nullptr, arguments.data(), environ) != 0) {
    return;
  }
  int status = 0;
  while (waitpid(child, &status, 0) == -1 && errno == EINTR) {
  }
}

class Systemctl final : public ServiceControl {
 public:
  void Stop(std::string_view service) override { Run("stop", service); }
  void Start(std::string_view service) override { Run("start", service); }
};

}  // namespace

ServiceControl& SystemServiceControl() {
  static Systemctl control;
  return control;
}

}  // namespace azu::platform
