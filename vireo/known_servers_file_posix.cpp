#include "vireo/known_servers_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/file_descriptor.h"
#include "vireo/known_servers.h"

namespace azu::vireo {

using platform::FileDescriptor;

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

ReadOutcome ReadRegularFile(const std::filesystem::path& file, Links links, std::string& content) {
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
