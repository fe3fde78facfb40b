#include "vireo/local_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool WriteLocalFileWhole(const std::string& path, std::string_view content) {
  if (path.empty()) {
    return false;
  }
  std::string name = path + ".XXXXXX";
  // Created exclusively, with mode 0600.
  FileDescriptor file(::mkostemp(name.data(), O_CLOEXEC));
  if (!file.Valid()) {
    return false;
  }
  TemporaryFile temporary(std::move(name));
  // A working copy for this run only: whole before it takes the name, no need to reach the disk.
  if (!WriteAll(file.Get(), content) || !file.Close()) {
    return false;
  }
  if (std::rename(temporary.Path().c_str(), path.c_str()) != 0) {
    return false;
  }
  temporary.Kept();
  return true;
}

}  // namespace azu::vireo
