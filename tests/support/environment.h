#pragma once
// What tests need of the process's environment and temporary folders, alike on POSIX and on
// Windows (where the tests run as Windows programs too).

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace azu::test {

inline void SetVariable(const char* name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

inline void UnsetVariable(const char* name) {
#ifdef _WIN32
  _putenv_s(name, "");  // an empty value removes the variable
#else
  unsetenv(name);
#endif
}

// A new folder of our own in the system's temporary folder, named `prefix` and random letters.
inline std::filesystem::path MakeTempFolder(const std::string& prefix) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  const std::string letters = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (;;) {
    std::string name = prefix;
    for (int i = 0; i < 8; ++i) name += letters[random() % letters.size()];
    const auto path = std::filesystem::temp_directory_path() / name;
    if (std::filesystem::create_directory(path)) return path;
  }
}

}  // namespace azu::test
