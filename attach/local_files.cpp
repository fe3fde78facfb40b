#include "attach/local_files.h"

#include "platform/files_beneath.h"

namespace azu {
namespace {

class MachineFiles final : public LocalFiles {
 public:
  MachineFiles(std::string driveRoot, WatcherLog log)
      : files_(std::move(driveRoot)), log_(std::move(log)) {}

  bool Read(const std::string& path, std::string& content, int* error) override {
    int code = 0;
    const bool read = files_.Read(path, content, &code);
    return read || Refuse(path, code, error);
  }
  bool Replace(const std::string& path, std::string_view content, int* error) override {
    int code = 0;
    const bool replaced = files_.Replace(path, content, &code);
    return replaced || Refuse(path, code, error);
  }
  bool Move(const std::string& from, const std::string& to, int* error) override {
    int code = 0;
    const bool moved = files_.Move(from, to, &code);
    return moved || Refuse(to, code, error);
  }
  std::optional<std::uintmax_t> Size(const std::string& path) override { return files_.Size(path); }
  bool Remove(const std::string& path) override { return files_.Remove(path); }

 private:
  bool Refuse(const std::string& path, int code, int* error) {
    if (code == platform::LinkRefusedError() && log_) {
      log_("refused " + path + ": a symbolic link is in the way, nothing was read or written");
    }
    if (error != nullptr) *error = code;
    return false;
  }

  platform::FilesBeneath files_;
  WatcherLog log_;
};

}  // namespace

std::unique_ptr<LocalFiles> MakeSystemFiles(std::string driveRoot, WatcherLog log) {
  return std::make_unique<MachineFiles>(std::move(driveRoot), std::move(log));
}

}  // namespace azu
