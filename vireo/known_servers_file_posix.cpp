#include "vireo/known_servers_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/file_descriptor.h"
#include "platform/folder_files_posix.h"
#include "vireo/known_servers.h"

namespace azu::vireo {

using platform::FileDescriptor;

namespace {

constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;
constexpr std::int64_t kNanosecondsPerSecond = 1000000000;

FileStamp StampOfInfo(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
          static_cast<std::uint64_t>(info.st_size),
          static_cast<std::int64_t>(info.st_mtim.tv_sec) * kNanosecondsPerSecond +
              info.st_mtim.tv_nsec};
}

}  // namespace

std::filesystem::path DefaultKnownServersFile() {
  constexpr const char* kFolderName = "azuqvc";
  constexpr const char* kFileName = "known_servers";
  if (const char* file = std::getenv(kKnownServersVariable); file != nullptr && *file != '\0') {
    return file;
  }
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config == '/') {
    return std::filesystem::path(config) / kFolderName / kFileName;
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return std::filesystem::path(home) / ".config" / kFolderName / kFileName;
  }
  return {};
}

std::optional<FileStamp> StampOf(const std::filesystem::path& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return std::nullopt;
  return StampOfInfo(info);
}

ReadOutcome ReadRegularFile(const std::filesystem::path& file, Links links, std::string& content,
                            FileStamp* stamp) {
  content.clear();
  const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (links == Links::kRefuse ? O_NOFOLLOW : 0);
  const FileDescriptor fd(::open(file.c_str(), flags));
  if (fd.Get() < 0) {
    return errno == ENOENT ? ReadOutcome::kMissing : ReadOutcome::kRefused;
  }
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return ReadOutcome::kRefused;
  }
  if (stamp != nullptr) *stamp = StampOfInfo(info);
  char buffer[4096];
  while (true) {
    const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
    if (got == 0) {
      return ReadOutcome::kRead;
    }
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      return ReadOutcome::kRefused;
    }
    content.append(buffer, static_cast<std::size_t>(got));
    if (content.size() > kMaxKnownServersBytes) {
      return ReadOutcome::kRefused;
    }
  }
}

bool AppendLines(const std::filesystem::path& file, std::string_view lines, FileStamp& before,
                 FileStamp& after) {
  // O_APPEND: each write lands at the end, whoever else appends meanwhile.
  const FileDescriptor fd(::open(
      file.c_str(), O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, kOwnerOnly));
  struct stat info {};
  if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  // The pins say whom to trust: nobody else reads or writes them.
  if ((info.st_mode & 07777) != kOwnerOnly && ::fchmod(fd.Get(), kOwnerOnly) != 0) return false;
  before = StampOfInfo(info);
  char last = '\n';
  if (info.st_size > 0 && ::pread(fd.Get(), &last, 1, info.st_size - 1) != 1) return false;
  std::string written(last != '\n' ? 1 : 0, '\n');
  written += lines;
  if (static_cast<std::size_t>(info.st_size) + written.size() > kMaxKnownServersBytes) return false;
  if (!platform::WriteAll(fd.Get(), written) || ::fdatasync(fd.Get()) != 0 ||
      ::fstat(fd.Get(), &info) != 0) {
    return false;
  }
  after = StampOfInfo(info);
  return true;
}

bool ReplaceRegularFile(const std::filesystem::path& file, std::string_view content) {
  const auto [parent, name] = platform::SplitPath(file.string());
  const FileDescriptor folder(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return folder.Valid() && platform::ReplaceInFolder(folder.Get(), name, content, nullptr,
                                                     {.ownerOnly = true, .refuseLink = true});
}

bool MakeFolders(const std::filesystem::path& folder) {
  if (folder.empty()) {
    return true;
  }
  std::error_code error;
  if (std::filesystem::is_directory(folder, error)) {
    return true;
  }
  if (folder.has_parent_path() && folder.parent_path() != folder &&
      !MakeFolders(folder.parent_path())) {
    return false;
  }
  return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

}  // namespace azu::vireo
