#include "vireo/local_file.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace azu::vireo {

std::unique_ptr<LocalFileSource> LocalFileSource::Open(const std::string& path,
                                                       std::size_t max_bytes, LocalRead& status) {
  status = LocalRead::kUnreadable;
  const int fd = _open(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0) {
    return nullptr;
  }
  struct _stat64 info {};
  if (_fstat64(fd, &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) {
    _close(fd);
    return nullptr;
  }
  if (static_cast<std::uint64_t>(info.st_size) > max_bytes) {
    _close(fd);
    status = LocalRead::kTooLarge;
    return nullptr;
  }
  status = LocalRead::kOk;
  return std::unique_ptr<LocalFileSource>(
      new LocalFileSource(fd, static_cast<std::uint64_t>(info.st_size)));
}

LocalFileSource::~LocalFileSource() {
  _close(fd_);
}

std::optional<std::size_t> LocalFileSource::Read(char* buffer, std::size_t room) {
  const std::uint64_t left = size_ - read_;
  const auto wanted = static_cast<unsigned>(std::min<std::uint64_t>({room, left, 1U << 30}));
  if (wanted == 0) {
    return 0;
  }
  const int got = _read(fd_, buffer, wanted);
  // A file that shrank while it was sent cannot be sent whole.
  if (got <= 0) {
    failed_ = true;
    return std::nullopt;
  }
  read_ += static_cast<std::uint64_t>(got);
  return static_cast<std::size_t>(got);
}

struct LocalFileReplacement::Parts {
  HANDLE file = INVALID_HANDLE_VALUE;
  std::string temporary;  // removed unless renamed into place
  std::string target;

  Parts() = default;
  Parts(const Parts&) = delete;
  Parts& operator=(const Parts&) = delete;
  Parts(Parts&&) = delete;
  Parts& operator=(Parts&&) = delete;
  ~Parts() {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!temporary.empty()) DeleteFileA(temporary.c_str());
  }
};

std::unique_ptr<LocalFileReplacement> LocalFileReplacement::Create(const std::string& path) {
  if (path.empty()) {
    return nullptr;
  }
  auto parts = std::make_unique<Parts>();
  // A name of our own beside the target; CREATE_NEW refuses one that is already there.
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%lu_%u", GetCurrentProcessId(), attempt);
    const std::string name = path + suffix;
    const HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      parts->file = file;
      parts->temporary = name;
      parts->target = path;
      return std::unique_ptr<LocalFileReplacement>(new LocalFileReplacement(std::move(parts)));
    }
    if (GetLastError() != ERROR_FILE_EXISTS) break;
  }
  return nullptr;
}

LocalFileReplacement::LocalFileReplacement(std::unique_ptr<Parts> parts)
    : parts_(std::move(parts)) {}

LocalFileReplacement::~LocalFileReplacement() = default;

bool LocalFileReplacement::Write(std::string_view piece) {
  while (!piece.empty()) {
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(piece.size(), 1U << 30));
    DWORD written = 0;
    if (WriteFile(parts_->file, piece.data(), chunk, &written, nullptr) == 0) return false;
    piece.remove_prefix(written);
  }
  return true;
}

bool LocalFileReplacement::Commit() {
  // A working copy for this run only: whole before it takes the name, no need to reach the disk.
  const HANDLE file = std::exchange(parts_->file, INVALID_HANDLE_VALUE);
  if (CloseHandle(file) == 0) {
    return false;
  }
  if (MoveFileExA(parts_->temporary.c_str(), parts_->target.c_str(), MOVEFILE_REPLACE_EXISTING) ==
      0) {
    return false;
  }
  parts_->temporary.clear();
  return true;
}

}  // namespace azu::vireo
