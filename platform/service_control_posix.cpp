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

constexpr const char* kSystemctl = "/usr/bin/systemctl";
constexpr const char* kProgramVariable = "AZUQVC_SERVICE_CTL";

const char* Configured() {
  const char* configured = std::getenv(kProgramVariable);
  return configured != nullptr && *configured != '\0' ? configured : nullptr;
}

// Runs `program action unit` without a shell or a PATH search, and waits for it.
void Run(const char* action, std::string_view service) {
  std::string program = ServiceControlProgram();
  std::string verb = action;
  std::string unit = ServiceUnit(service);
  std::vector<char*> arguments = {program.data(), verb.data(), unit.data(), nullptr};
  pid_t child = 0;
  if (posix_spawn(&child, program.c_str(), nullptr, nullptr, arguments.data(), environ) != 0) {
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

std::string ServiceControlProgram() {
  const char* configured = Configured();
  return configured != nullptr ? configured : kSystemctl;
}

std::string_view ServiceControlSource() {
  return Configured() != nullptr ? kProgramVariable : "";
}

ServiceControl& SystemServiceControl() {
  static Systemctl control;
  return control;
}

}  // namespace azu::platform
