#include "emulator/secret_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace azu::emulator {
namespace {

std::string OctalMode(mode_t mode) {
  char text[8];
  std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
  return text;
}

}  // namespace

std::optional<std::string> ReadSmallFile(const std::filesystem::path& file,
                                         const SmallFileRules& rules, std::string& error) {
  // O_NONBLOCK: a fifo under that name must not hang the start; regular files ignore it.
  const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (rules.follow_symlink ? 0 : O_NOFOLLOW);
  const int fd = ::open(file.c_str(), flags);
  if (fd < 0) {
    error = file.string() + ": " +
            (errno == ELOOP ? std::string("a symlink, not a file") : std::strerror(errno));
    return std::nullopt;
  }
  const std::string too_large =
      file.string() + ": larger than " + std::to_string(rules.max_size / 1024) + " KiB";
  struct stat info {};
  std::optional<std::string> content;
  if (::fstat(fd, &info) != 0) {
    error = file.string() + ": " + std::strerror(errno);
  } else if (!S_ISREG(info.st_mode)) {
    error = file.string() + ": not a regular file";
  } else if (rules.owner_only && (info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
    error = file.string() + ": group or others may read or change it (mode " +
            OctalMode(info.st_mode) + "); make it readable by its owner only (chmod 600)";
  } else if (static_cast<std::size_t>(info.st_size) > rules.max_size) {
    error = too_large;
  } else {
    std::string bytes;
    char buffer[4096];
    ssize_t got = 0;
    // Read to the end rather than to the size seen: the file may be changing.
    while ((got = ::read(fd, buffer, sizeof buffer)) != 0) {
      if (got < 0 && errno == EINTR) continue;
      if (got < 0 || bytes.size() + static_cast<std::size_t>(got) > rules.max_size) break;
      bytes.append(buffer, static_cast<std::size_t>(got));
    }
    if (got == 0) {
      content = std::move(bytes);
    } else {
      error = got < 0 ? file.string() + ": " + std::strerror(errno) : too_large;
    }
  }
  ::close(fd);
  return content;
}

}  // namespace azu::emulator
