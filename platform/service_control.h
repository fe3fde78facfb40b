#pragma once
// Stopping and starting the server's services, named as on Windows ("AZU CommonLCD", "Apache",
// "AZU Zorne"). Windows: `net.exe stop|start "NAME"`. POSIX: `/usr/bin/systemctl stop|start UNIT`
// with azu-commonlcd, apache2 and azu-zorne, run by its path (the watcher runs as root and never
// looks programs up in PATH); AZUQVC_SERVICE_CTL names a program to run instead with the same
// arguments. Each call waits for the command; its outcome is not reported.

#include <string>
#include <string_view>

namespace azu::platform {

class ServiceControl {
 public:
  virtual ~ServiceControl() = default;
  virtual void Stop(std::string_view service) = 0;
  virtual void Start(std::string_view service) = 0;
};

ServiceControl& SystemServiceControl();

// The program SystemServiceControl() runs, and the variable that chose it ("" for the default).
std::string ServiceControlProgram();
std::string_view ServiceControlSource();

// The POSIX unit that stands for a Windows service name (the name itself when unknown).
std::string ServiceUnit(std::string_view service);

}  // namespace azu::platform
