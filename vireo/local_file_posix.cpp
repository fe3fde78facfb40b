#include "vireo/local_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/file_descriptor.h"
#include "platform/folder_files_posix.h"

namespace azu::vireo {

using platform::FileDescriptor;
using platform::WriteAll;

namespace {

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (!path_.empty()) {
      ::unlink(path_.c_str());
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  TemporaryFile(TemporaryFile&&) = delete;
  TemporaryFile& operator=(TemporaryFile&&) = delete;

  [[nodiscard]] const std::string& Path() const { return path_; }
  void Kept() { path_.clear(); }

 private:
  std::string path_;
};

}  // namespace

std::unique_ptr<LocalFileSource> LocalFileSource::Open(const std::string& path,
                                                       std::size_t max_bytes, LocalRead& status) {
  status = LocalRead::kUnreadable;
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (!file.Valid() || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return nullptr;
  }
  if (static_cast<std::uint64_t>(info.st_size) > max_bytes) {
    status = LocalRead::kTooLarge;
    return nullptr;
  }
  status = LocalRead::kOk;
  return std::unique_ptr<LocalFileSource>(
      new LocalFileSource(file.Release(), static_cast<std::uint64_t>(info.st_size)));
}

LocalFileSource::~LocalFileSource() {
  ::close(fd_);
}

std::optional<std::size_t> LocalFileSource::Read(char* buffer, std::size_t room) {
  const std::uint64_t left = size_ - read_;
  const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(room, left));
  if (wanted == 0) {
    return 0;
  }
  ssize_t got = -1;
  do {
    got = ::read(fd_, buffer, wanted);
  } while (got < 0 && errno == EINTR);
  // A file that shrank while it was sent cannot be sent whole.
  if (got <= 0) {
    failed_ = true;
    return std::nullopt;
  }
  read_ += static_cast<std::uint64_t>(got);
  return static_cast<std::size_t>(got);
}

struct LocalFileReplacement::Parts {
  FileDescriptor file;
  TemporaryFile temporary;
  std::string target;
};

std::unique_ptr<LocalFileReplacement> LocalFileReplacement::Create(const std::string& path) {
  if (path.empty() || !platform::MayReplace(path)) {
    return nullptr;
  }
  std::string name = path + ".XXXXXX";
  // Created exclusively, with mode 0600.
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) {
    return nullptr;
  }
  auto parts = std::unique_ptr<Parts>(new Parts{FileDescriptor(fd), TemporaryFile(name), path});
  return std::unique_ptr<LocalFileReplacement>(new LocalFileReplacement(std::move(parts)));
}

LocalFileReplacement::LocalFileReplacement(std::unique_ptr<Parts> parts)
    : parts_(std::move(parts)) {}

LocalFileReplacement::~LocalFileReplacement() = default;

bool LocalFileReplacement::Write(std::string_view piece) {
  return WriteAll(parts_->file.Get(), piece);
}

bool LocalFileReplacement::Commit() {
  // A working copy for this run only: whole before it takes the name, no need to reach the disk.
  if (!parts_->file.Close() || !platform::MayReplace(parts_->target)) {
    return false;
  }
  if (std::rename(parts_->temporary.Path().c_str(), parts_->target.c_str()) != 0) {
    return false;
  }
  parts_->temporary.Kept();
  return true;
}

}  // namespace azu::vireo
