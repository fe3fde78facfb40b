#include "tests/support/running_emulator.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "platform/server_paths.h"

extern char** environ;

namespace azu::test {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kListeningLine = "zorne-emulator listening on ";
constexpr std::chrono::milliseconds kPoll{10};

std::string ReadWhole(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path MakeWorkFolder() {
  std::string pattern = (fs::temp_directory_path() / "azu-emulator-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

int StatusOf(int wait_status) {
  if (WIFEXITED(wait_status)) return WEXITSTATUS(wait_status);
  if (WIFSIGNALED(wait_status)) return 128 + WTERMSIG(wait_status);
  return -1;
}

}  // namespace

RunningEmulator::RunningEmulator(EmulatorOptions options) : options_(std::move(options)) {
  Start();
}

RunningEmulator::~RunningEmulator() {
  Stop();
  const char* known = std::getenv("VIREO_KNOWN_SERVERS");
  if (known != nullptr && known == known_servers_) ::unsetenv("VIREO_KNOWN_SERVERS");
  std::error_code ignored;
  if (!work_.empty()) fs::remove_all(work_, ignored);
}

std::string RunningEmulator::KeyFingerprint() const {
  constexpr std::string_view kKeyLine = "zorne-emulator key ";
  const std::string output = Output();
  const std::size_t at = output.find(kKeyLine);
  if (at == std::string::npos) return {};
  const std::size_t start = at + kKeyLine.size();
  return output.substr(start, output.find('\n', start) - start);
}

void RunningEmulator::Start() {
  work_ = MakeWorkFolder();
  if (work_.empty()) {
    error_ = "cannot make a temporary folder";
    return;
  }
  root_ = options_.root.empty() ? work_ / "root" : options_.root;
  std::error_code created;
  fs::create_directories(root_, created);

  // This test process pins the keys of its emulators in a file of their own: a port that a
  // later emulator gets again comes with another key.
  known_servers_ = (work_ / "known_servers").string();
  ::setenv("VIREO_KNOWN_SERVERS", known_servers_.c_str(), 1);

  std::vector<std::string> arguments = {AZU_EMULATOR_PATH, "--root",        root_.string(),
                                        "--listen",        options_.listen, "--name",
                                        options_.name,     "--model",       options_.model};
  if (options_.session_idle_seconds > 0) {
    arguments.push_back("--session-idle");
    arguments.push_back(std::to_string(options_.session_idle_seconds));
  }
  arguments.insert(arguments.end(), options_.extra_args.begin(), options_.extra_args.end());
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  const std::string out = (work_ / "stdout.txt").string();
  const std::string err = (work_ / "stderr.txt").string();
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  // The emulator relies on SIGTERM and SIGINT reaching it, whatever the test runner did to them.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigset_t stops;
  sigemptyset(&none);
  sigemptyset(&stops);
  sigaddset(&stops, SIGTERM);
  sigaddset(&stops, SIGINT);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &stops);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  // The password goes by the environment: a command line is readable by every local user.
  std::vector<std::string> variables = {"ZORNE_ADMIN_PASSWORD=" + options_.password};
  for (char** variable = environ; *variable != nullptr; ++variable) {
    if (!std::string_view(*variable).starts_with("ZORNE_ADMIN_PASSWORD=")) {
      variables.emplace_back(*variable);
    }
  }
  std::vector<char*> envp;
  for (std::string& variable : variables) envp.push_back(variable.data());
  envp.push_back(nullptr);
  const int spawned = posix_spawn(&pid_, argv[0], &files, &attributes, argv.data(), envp.data());
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&files);
  if (spawned != 0) {
    pid_ = -1;
    error_ = "cannot start " + arguments[0];
    return;
  }

  const auto give_up = std::chrono::steady_clock::now() + options_.start_timeout;
  while (std::chrono::steady_clock::now() < give_up) {
    const std::string output = Output();
    const std::size_t at = output.find(kListeningLine);
    const std::size_t end = at == std::string::npos ? at : output.find('\n', at);
    if (end != std::string::npos) {
      const std::string address =
          output.substr(at + kListeningLine.size(), end - at - kListeningLine.size());
      const std::size_t colon = address.rfind(':');
      unsigned port = 0;
      const char* digits = address.data() + colon + 1;
      const auto parsed = std::from_chars(digits, address.data() + address.size(), port);
      if (colon == std::string::npos || parsed.ec != std::errc() || port == 0 || port > 65535) {
        error_ = "unreadable listening line: " + address;
        Stop();
        return;
      }
      host_ = address.substr(0, colon);
      port_ = static_cast<std::uint16_t>(port);
      return;
    }
    int wait_status = 0;
    if (::waitpid(pid_, &wait_status, WNOHANG) == pid_) {
      pid_ = -1;
      exit_status_ = StatusOf(wait_status);
      error_ =
          "the emulator ended with status " + std::to_string(*exit_status_) + ": " + ErrorOutput();
      return;
    }
    std::this_thread::sleep_for(kPoll);
  }
  error_ = "no listening line within the start timeout; output: " + Output() + ErrorOutput();
  Stop();
}

int RunningEmulator::Stop(int signal, std::chrono::milliseconds timeout) {
  if (pid_ <= 0) return exit_status_.value_or(-1);
  ::kill(pid_, signal);
  const auto give_up = std::chrono::steady_clock::now() + timeout;
  int wait_status = 0;
  pid_t ended = 0;
  while ((ended = ::waitpid(pid_, &wait_status, WNOHANG)) == 0 &&
         std::chrono::steady_clock::now() < give_up) {
    std::this_thread::sleep_for(kPoll);
  }
  if (ended == 0) {
    ::kill(pid_, SIGKILL);
    ended = ::waitpid(pid_, &wait_status, 0);
  }
  exit_status_ = ended == pid_ ? StatusOf(wait_status) : -1;
  pid_ = -1;
  port_ = 0;
  return *exit_status_;
}

std::string RunningEmulator::Address() const {
  return host_ + ":" + std::to_string(port_);
}

std::string RunningEmulator::EventsLog() const {
  return ReadWhole(root_ / ".zorne" / "events.log");
}

std::vector<std::string> RunningEmulator::Events() const {
  std::vector<std::string> events;
  std::istringstream lines(EventsLog());
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string time;
    std::string event;
    if (fields >> time >> event) events.push_back(event);
  }
  return events;
}

std::string RunningEmulator::Attributes() const {
  return ReadWhole(root_ / ".zorne" / "attributes");
}

std::string RunningEmulator::Output() const {
  return ReadWhole(work_ / "stdout.txt");
}

std::string RunningEmulator::ErrorOutput() const {
  return ReadWhole(work_ / "stderr.txt");
}

std::optional<std::filesystem::path> RunningEmulator::LocalPath(
    std::string_view server_path) const {
  return platform::LocalFormOfServerPath(root_, server_path);
}

bool RunningEmulator::WriteServerFile(std::string_view server_path,
                                      std::string_view content) const {
  const std::optional<fs::path> local = LocalPath(server_path);
  if (!local) return false;
  std::error_code error;
  fs::create_directories(local->parent_path(), error);
  std::ofstream out(*local, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  return static_cast<bool>(out.flush());
}

std::optional<std::string> RunningEmulator::ReadServerFile(std::string_view server_path) const {
  const std::optional<fs::path> local = LocalPath(server_path);
  std::error_code error;
  if (!local || !fs::is_regular_file(*local, error)) return std::nullopt;
  return ReadWhole(*local);
}

}  // namespace azu::test
