#include "tests/attach/namespace_lab.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

namespace azu::test {
namespace {

constexpr const char* kIp = "ip";

// Runs `arguments` (program first) and waits; its exit status, -1 when it cannot start.
int RunAndWait(const std::vector<std::string>& arguments, const std::vector<std::string>& env,
               const std::filesystem::path& output, pid_t* started = nullptr) {
  std::vector<std::string> copy = arguments;
  std::vector<char*> argv;
  for (auto& argument : copy) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::vector<std::string> envCopy = env;
  std::vector<char*> envp;
  for (auto& variable : envCopy) envp.push_back(variable.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string out = output.empty() ? "/dev/null" : output.string();
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = -1;
  const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) return -1;
  if (started != nullptr) {
    *started = pid;
    return 0;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) == -1 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> Environment() {
  std::vector<std::string> env;
  for (char** variable = environ; *variable != nullptr; ++variable) env.emplace_back(*variable);
  return env;
}

}  // namespace

std::optional<std::string> NamespaceLab::Unavailable() {
  if (geteuid() != 0) return "network namespaces need root; not run on the host's interfaces";
  if (RunAndWait({kIp, "netns", "list"}, Environment(), {}) != 0) {
    return "the `ip` tool with netns support is missing";
  }
  return std::nullopt;
}

NamespaceLab::NamespaceLab(bool siteLink) {
  const std::string tag = "azq" + std::to_string(getpid());
  server_ = tag + "-srv";
  printer_ = tag + "-prn";
  if (!Make(siteLink)) {
    if (error_.empty()) error_ = "could not build the namespaces";
  }
}

NamespaceLab::~NamespaceLab() {
  for (const pid_t pid : running_) {
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
  }
  if (made_) {
    Ip({"netns", "del", server_});
    Ip({"netns", "del", printer_});
  }
}

bool NamespaceLab::Ip(const std::vector<std::string>& arguments) {
  std::vector<std::string> command = {kIp};
  command.insert(command.end(), arguments.begin(), arguments.end());
  if (RunAndWait(command, Environment(), {}) == 0) return true;
  std::string text;
  for (const auto& part : command) text += part + " ";
  error_ = "failed: " + text;
  return false;
}

bool NamespaceLab::Make(bool siteLink) {
  if (!Ip({"netns", "add", server_})) return false;
  made_ = true;
  if (!Ip({"netns", "add", printer_})) {
    Ip({"netns", "del", server_});
    made_ = false;
    return false;
  }
  // Both ends of each link are made inside the namespaces: no interface ever exists on the host.
  const std::string s = server_;
  const std::string p = printer_;
  bool ok = Ip({"-n", s, "link", "set", "lo", "up"}) && Ip({"-n", p, "link", "set", "lo", "up"});
  if (siteLink) {
    ok = ok &&
         Ip({"-n", s, "link", "add", "site0", "type", "veth", "peer", "name", "site1", "netns",
             p}) &&
         Ip({"-n", s, "addr", "add", "198.51.100.2/24", "dev", "site0"}) &&
         Ip({"-n", s, "link", "set", "site0", "up"}) &&
         Ip({"-n", p, "link", "set", "site1", "address", kPrinterMac}) &&
         Ip({"-n", p, "link", "set", "site1", "up"});
  }
  ok = ok &&
       Ip({"-n", s, "link", "add", "direct0", "type", "veth", "peer", "name", "direct1", "netns",
           p}) &&
       Ip({"-n", s, "addr", "add", "100.100.100.102/24", "dev", "direct0"}) &&
       Ip({"-n", s, "link", "set", "direct0", "up"}) &&
       Ip({"-n", p, "link", "set", "direct1", "address", kPrinterMac}) &&
       Ip({"-n", p, "link", "set", "direct1", "up"});
  return ok;
}

bool NamespaceLab::UnplugPrinter() {
  // Deleting an address that is not there fails harmlessly.
  Run(printer_, {kIp, "addr", "flush", "dev", "direct1"});
  Run(printer_, {kIp, "addr", "flush", "dev", "site1"});
  return Run(server_, {kIp, "neigh", "flush", "dev", "direct0"});
}

bool NamespaceLab::PlacePrinterOnDirectLink() {
  return UnplugPrinter() &&
         Ip({"-n", printer_, "addr", "add", "100.100.100.101/24", "dev", "direct1"});
}

bool NamespaceLab::PlacePrinterOnSite(const std::string& siteAddress) {
  return UnplugPrinter() &&
         Ip({"-n", printer_, "addr", "add", siteAddress + "/24", "dev", "site1"});
}

bool NamespaceLab::Run(const std::string& ns, const std::vector<std::string>& command) {
  std::vector<std::string> full = {kIp, "netns", "exec", ns};
  full.insert(full.end(), command.begin(), command.end());
  return RunAndWait(full, Environment(), {}) == 0;
}

pid_t NamespaceLab::Start(const std::string& ns, const std::vector<std::string>& command,
                          const std::vector<std::string>& environment,
                          const std::filesystem::path& output) {
  // `ip netns exec` enters the namespace and then becomes the command (same process).
  std::vector<std::string> full = {"/usr/sbin/ip", "netns", "exec", ns};
  if (access(full[0].c_str(), X_OK) != 0) full[0] = "/sbin/ip";
  full.insert(full.end(), command.begin(), command.end());
  pid_t pid = -1;
  if (RunAndWait(full, environment, output, &pid) != 0) return -1;
  running_.push_back(pid);
  return pid;
}

std::optional<int> NamespaceLab::Wait(pid_t pid, std::chrono::seconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      running_.erase(std::remove(running_.begin(), running_.end(), pid), running_.end());
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return std::nullopt;
}

bool WaitForText(const std::filesystem::path& file, const std::string& text,
                 std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    std::ifstream in(file);
    std::stringstream content;
    content << in.rdbuf();
    if (content.str().find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

}  // namespace azu::test
