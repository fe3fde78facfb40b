#pragma once
// A fresh temporary folder that TEMP points at for the life of a test, so the test can see every
// file the program leaves behind.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/environment.h"

namespace azu::test {

class TempFolderScope {
 public:
  TempFolderScope() {
    path_ = MakeTempFolder("azutest");
    const char* old = std::getenv("TEMP");
    if (old != nullptr) previous_ = old;
    hadPrevious_ = old != nullptr;
    SetVariable("TEMP", path_.string());
  }
  ~TempFolderScope() {
    if (hadPrevious_) {
      SetVariable("TEMP", previous_);
    } else {
      UnsetVariable("TEMP");
    }
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolderScope(const TempFolderScope&) = delete;
  TempFolderScope& operator=(const TempFolderScope&) = delete;

  [[nodiscard]] const std::filesystem::path& Path() const { return path_; }
  [[nodiscard]] std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

 private:
  std::filesystem::path path_;
  std::string previous_;
  bool hadPrevious_ = false;
};

}  // namespace azu::test
