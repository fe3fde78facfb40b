#pragma once
// Runs the zornectl program for a test, with standard input from /dev/null (no terminal, so no
// prompt) and the given changes to this process's environment; its status and output.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace azu::test {

struct ZornectlRun {
  int status = -1;
  std::string out;
  std::string err;
};

// `environment`: a value sets the variable, nullopt removes it.
inline ZornectlRun RunZornectl(
    const std::vector<std::string>& arguments,
    const std::map<std::string, std::optional<std::string>>& environment = {}) {
  namespace fs = std::filesystem;
  std::string pattern = (fs::temp_directory_path() / "zornectlXXXXXX").string();
  const fs::path work = mkdtemp(pattern.data());
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    if (!environment.contains(text.substr(0, text.find('=')))) env.push_back(text);
  }
  for (const auto& [name, value] : environment) {
    if (value) env.push_back(name + "=" + *value);
  }
  std::vector<std::string> argv = {AZU_ZORNECTL};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<char*> argp, envp;
  for (std::string& a : argv) argp.push_back(a.data());
  for (std::string& e : env) envp.push_back(e.data());
  argp.push_back(nullptr);
  envp.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, (work / "out").c_str(), O_WRONLY | O_CREAT, 0600);
  posix_spawn_file_actions_addopen(&files, 2, (work / "err").c_str(), O_WRONLY | O_CREAT, 0600);
  ZornectlRun run;
  pid_t child = -1;
  if (posix_spawn(&child, argp[0], &files, nullptr, argp.data(), envp.data()) == 0) {
    int status = 0;
    waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&files);
  const auto slurp = [](const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
  };
  run.out = slurp(work / "out");
  run.err = slurp(work / "err");
  std::error_code ignored;
  fs::remove_all(work, ignored);
  return run;
}

// A secret file of the test's own, owner-only.
inline std::string SecretFile(const std::filesystem::path& folder, const std::string& name,
                              const std::string& content) {
  const auto path = folder / name;
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
  std::filesystem::permissions(
      path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  return path.string();
}

}  // namespace azu::test
