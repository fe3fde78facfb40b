#include "attach/local_files.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "platform/atomic_replace.h"

namespace azu {
namespace {

int LastError() {
  return errno != 0 ? errno : -1;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

class MachineFiles final : public LocalFiles {
 public:
  bool Read(const std::string& path, std::string& content, int* error) override {
    errno = 0;
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return Fail(error);
    content.clear();
    char buffer[8192];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
      content.append(buffer, got);
    if (std::ferror(file.get()) != 0) return Fail(error);
    return true;
  }
  bool Replace(const std::string& path, std::string_view content, int* error) override {
    return platform::ReplaceFileAtomically(path, content, error);
  }
  std::optional<std::uintmax_t> Size(const std::string& path) override {
    std::error_code failed;
    const auto status = std::filesystem::status(path, failed);
    if (failed || !std::filesystem::exists(status)) return std::nullopt;
    if (!std::filesystem::is_regular_file(status)) return 0;
    const auto size = std::filesystem::file_size(path, failed);
    return failed ? std::nullopt : std::optional<std::uintmax_t>(size);
  }
  bool Remove(const std::string& path) override {
    std::error_code failed;
    return std::filesystem::is_regular_file(path, failed) && std::filesystem::remove(path, failed);
  }

 private:
  static bool Fail(int* error) {
    if (error != nullptr) *error = LastError();
    return false;
  }
};

}  // namespace

LocalFiles& SystemFiles() {
  static MachineFiles files;
  return files;
}

}  // namespace azu
