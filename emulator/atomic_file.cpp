#include "emulator/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/folder_files_posix.h"

namespace azu::emulator {
namespace {

// A fixed prefix rather than the target's name, so that a target name of any length fits.
constexpr std::string_view kRandomPart = "XXXXXX";

}  // namespace

bool IsTemporaryName(const std::filesystem::path& path) {
  return path.filename().string().starts_with(kTemporaryPrefix);
}

std::unique_ptr<AtomicFileWriter> AtomicFileWriter::Create(const std::filesystem::path& target,
                                                           mode_t new_file_mode) {
  std::string pattern =
      (target.parent_path() / (std::string(kTemporaryPrefix) + std::string(kRandomPart))).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  // mkostemp opens with O_CREAT | O_EXCL and mode 0600: nobody else's file is ever reused.
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return nullptr;
  std::unique_ptr<AtomicFileWriter> writer(
      new AtomicFileWriter(target, std::filesystem::path(name.data()), fd));
  struct stat old {};
  mode_t mode = new_file_mode;
  if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    mode = old.st_mode & 07777;
    // Keeps the owner too where the server may (running as root); elsewhere it stays ours.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
      [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    }
  }
  if (::fchmod(fd, mode) != 0) return nullptr;
  return writer;
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_) ::unlink(temporary_.c_str());
}

bool AtomicFileWriter::Write(std::string_view data) {
  if (fd_ < 0 || synced_) return false;
  while (!data.empty()) {
    const ssize_t written = ::write(fd_, data.data(), data.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(written));
    written_ += static_cast<off_t>(written);
  }
  // The disk starts on what came so far, so the final sync waits only for the rest.
  if (written_ - started_ >= kWriteBackEvery) {
    ::sync_file_range(fd_, started_, written_ - started_, SYNC_FILE_RANGE_WRITE);
    started_ = written_;
  }
  return true;
}

bool AtomicFileWriter::Sync() {
  if (fd_ < 0) return false;
  const bool synced = ::fsync(fd_) == 0;
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  synced_ = synced && closed;
  return synced_;
}

bool AtomicFileWriter::Commit() {
  if (!synced_ || committed_ || !platform::MayReplace(target_)) return false;
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) return false;
  committed_ = true;
  return SyncFolder(target_.parent_path());
}

bool SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

}  // namespace azu::emulator
