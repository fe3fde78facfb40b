#include <cstdlib>
#include <string>

#include "platform/service_control.h"

namespace azu::platform {
namespace {

// `net.exe ACTION "NAME"` through the command processor, waiting for it.
void Run(const char* action, std::string_view service) {
  std::string command = "net.exe ";
  command += action;
  command += " \"";
  command += service;
  command += '"';
  std::system(command.c_str());
}

class NetCommand final : public ServiceControl {
 public:
  void Stop(std::string_view service) override { Run("stop", service); }
  void Start(std::string_view service) override { Run("start", service); }
};

}  // namespace

std::string ServiceControlProgram() {
  return "net.exe";
}

std::string_view ServiceControlSource() {
  return "";
}

ServiceControl& SystemServiceControl() {
  static NetCommand control;
  return control;
}

}  // namespace azu::platform
