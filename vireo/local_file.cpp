#include "vireo/local_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <utility>
#include <vector>

namespace azu::vireo {
namespace {

// Closes a descriptor on every path out.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  FileDescriptor(FileDescriptor&&) = delete;
  FileDescriptor& operator=(FileDescriptor&&) = delete;

  [[nodiscard]] int Get() const { return fd_; }
  [[nodiscard]] bool Valid() const { return fd_ >= 0; }
  // False when the close reported a failed write-back.
  bool Close() {
    if (fd_ < 0) {
      return true;
    }
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0;
  }

 private:
  int fd_;
};

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

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

LocalRead ReadLocalFile(const std::string& path, std::size_t max_bytes, std::string& content) {
  content.clear();
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.Valid()) {
    return LocalRead::kUnreadable;
  }
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return LocalRead::kUnreadable;
  }
  if (static_cast<std::size_t>(info.st_size) > max_bytes) {
    return LocalRead::kTooLarge;
  }
  // The file may still grow while it is read; the limit holds for what is read.
  content.reserve(static_cast<std::size_t>(info.st_size));
  std::vector<char> buffer(std::size_t{1024} * 1024);
  while (true) {
    const ssize_t got = ::read(file.Get(), buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      content.clear();
      return LocalRead::kUnreadable;
    }
    if (got == 0) {
      return LocalRead::kOk;
    }
    if (content.size() + static_cast<std::size_t>(got) > max_bytes) {
      content.clear();
      return LocalRead::kTooLarge;
    }
    content.append(buffer.data(), static_cast<std::size_t>(got));
  }
}

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
  const int fd = file.Get();
  auto source = std::unique_ptr<LocalFileSource>(
      new LocalFileSource(::dup(fd), static_cast<std::uint64_t>(info.st_size)));
  if (source->fd_ < 0) {
    status = LocalRead::kUnreadable;
    return nullptr;
  }
  return source;
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
  if (path.empty()) {
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
  if (!parts_->file.Close()) {
    return false;
  }
  if (std::rename(parts_->temporary.Path().c_str(), parts_->target.c_str()) != 0) {
    return false;
  }
  parts_->temporary.Kept();
  return true;
}

bool WriteLocalFileWhole(const std::string& path, std::string_view content) {
  const std::unique_ptr<LocalFileReplacement> file = LocalFileReplacement::Create(path);
  return file != nullptr && file->Write(content) && file->Commit();
}

}  // namespace azu::vireo
