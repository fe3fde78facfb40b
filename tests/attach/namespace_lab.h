#pragma once
// A server and a printer in network namespaces of their own, made for one test and removed after
// it: nothing they send can reach any other network. The server has a site link (198.51.100.2)
// and, when asked, a direct link (100.100.100.102) to the printer; the printer answers SNMP.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace azu::test {

class NamespaceLab {
 public:
  static constexpr const char* kPrinterMac = "02:a2:00:00:00:01";

  // Why namespaces cannot be made here (not root, no `ip`), or nullopt when they can.
  static std::optional<std::string> Unavailable();

  // `siteLink`: the server also has the site network (its first host address then).
  explicit NamespaceLab(bool siteLink);
  ~NamespaceLab();
  NamespaceLab(const NamespaceLab&) = delete;
  NamespaceLab& operator=(const NamespaceLab&) = delete;

  // Empty when the namespaces are up; else what failed.
  [[nodiscard]] const std::string& Error() const { return error_; }
  [[nodiscard]] const std::string& Server() const { return server_; }
  [[nodiscard]] const std::string& Printer() const { return printer_; }

  // Moves the printer: onto the direct link (100.100.100.101) or to `siteAddress` on the site
  // network; "" takes it off both. The server forgets the printer's old link address.
  bool PlacePrinterOnDirectLink();
  bool PlacePrinterOnSite(const std::string& siteAddress);
  bool UnplugPrinter();

  // Runs `command` inside namespace `ns` and waits; true on status 0.
  bool Run(const std::string& ns, const std::vector<std::string>& command);
  // Starts `command` inside `ns` with `environment` (the whole environment) and its output in
  // `output`; the process is ended with the lab. -1 when it cannot start.
  pid_t Start(const std::string& ns, const std::vector<std::string>& command,
              const std::vector<std::string>& environment, const std::filesystem::path& output);
  // Waits for `pid` to end; its exit status, or nullopt after `timeout` (it is then killed).
  std::optional<int> Wait(pid_t pid, std::chrono::seconds timeout);

 private:
  bool Make(bool siteLink);
  bool Ip(const std::vector<std::string>& arguments);

  std::string server_;
  std::string printer_;
  std::string error_;
  bool made_ = false;
  std::vector<pid_t> running_;
};

// Waits until `file` holds `text`, at most `timeout`.
bool WaitForText(const std::filesystem::path& file, const std::string& text,
                 std::chrono::milliseconds timeout);

}  // namespace azu::test
