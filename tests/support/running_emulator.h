#pragma once
// A real zorne-emulator process on a loopback port for one test: started by the constructor,
// stopped (SIGTERM, reaped) and its temporary folder removed by the destructor.

#include <sys/types.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace azu::test {

// How to start the emulator. The defaults give a fresh root and a free port on 127.0.0.1.
struct EmulatorOptions {
  // Empty: a fresh temporary folder, removed with the emulator. A given folder is kept.
  std::filesystem::path root;
  // Must stay on loopback; port 0 lets the emulator choose a free one.
  std::string listen = "127.0.0.1:0";
  std::string name = "test-zorne";
  std::string model = "QV5010";
  std::string password = "RONDEL";
  // 0: the emulator's own default.
  int session_idle_seconds = 0;
  std::vector<std::string> extra_args;
  // Bound on the wait for the "listening on" line.
  std::chrono::milliseconds start_timeout{10000};
};

// One running zorne-emulator; not copyable, not movable (it owns a process and a folder).
class RunningEmulator {
 public:
  explicit RunningEmulator(EmulatorOptions options = {});
  ~RunningEmulator();
  RunningEmulator(const RunningEmulator&) = delete;
  RunningEmulator& operator=(const RunningEmulator&) = delete;
  RunningEmulator(RunningEmulator&&) = delete;
  RunningEmulator& operator=(RunningEmulator&&) = delete;

  // True once the emulator printed its "listening on" line; else Error() says why.
  [[nodiscard]] bool Started() const { return port_ != 0; }
  [[nodiscard]] const std::string& Error() const { return error_; }

  // "127.0.0.1:PORT", as libvireo's INIT_connect takes it. While the emulator lives, this test
  // process pins server keys in a known-servers file of its own (VIREO_KNOWN_SERVERS).
  [[nodiscard]] std::string Address() const;
  [[nodiscard]] const std::string& Host() const { return host_; }
  [[nodiscard]] std::uint16_t Port() const { return port_; }
  [[nodiscard]] const std::string& Password() const { return options_.password; }
  [[nodiscard]] const std::filesystem::path& Root() const { return root_; }
  [[nodiscard]] pid_t Pid() const { return pid_; }
  // The fingerprint of the emulator's TLS key ("sha256:..."), as it announced it.
  [[nodiscard]] std::string KeyFingerprint() const;

  // The whole of ROOT/.zorne/events.log ("" when absent).
  [[nodiscard]] std::string EventsLog() const;
  // The event names of the log, in order ("connect", "put", ...).
  [[nodiscard]] std::vector<std::string> Events() const;
  // The whole of ROOT/.zorne/attributes ("" when absent).
  [[nodiscard]] std::string Attributes() const;
  // What the emulator wrote on standard output and standard error so far.
  [[nodiscard]] std::string Output() const;
  [[nodiscard]] std::string ErrorOutput() const;

  // The file under the root that serves `server_path` ("/not-scsi0/..." or "/harddisk2/...").
  [[nodiscard]] std::optional<std::filesystem::path> LocalPath(std::string_view server_path) const;
  // Writes `content` byte-exact to the file of `server_path`, creating its folders.
  [[nodiscard]] bool WriteServerFile(std::string_view server_path, std::string_view content) const;
  // The bytes of the file of `server_path`, nullopt when there is none.
  [[nodiscard]] std::optional<std::string> ReadServerFile(std::string_view server_path) const;

  // Sends `signal` (default SIGTERM), waits up to `timeout` and reaps the process (SIGKILL after
  // the timeout). Returns the exit status, 128 + signal number when a signal ended it, -1 when
  // there was no process. Later calls return the same result.
  int Stop(int signal = SIGTERM,
           std::chrono::milliseconds timeout = std::chrono::milliseconds{10000});

 private:
  void Start();

  EmulatorOptions options_;
  std::filesystem::path work_;  // temporary folder: output files, and the root unless given
  std::filesystem::path root_;
  std::string known_servers_;  // VIREO_KNOWN_SERVERS while this emulator runs
  std::string host_;
  std::uint16_t port_ = 0;
  pid_t pid_ = -1;
  std::optional<int> exit_status_;
  std::string error_;
};

}  // namespace azu::test
