#include "zornectl/secret_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_descriptor.h"

namespace azu::ctl {

std::optional<std::string> ReadSecretFile(const std::string& path, std::string* error) {
  const auto fail = [&](const std::string& why) {
    if (error != nullptr) *error = path + ": " + why;
    return std::nullopt;
  };
  const platform::FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  if (!file.Valid()) return fail(std::strerror(errno));
  struct stat status {};
  if (fstat(file.Get(), &status) != 0) return fail(std::strerror(errno));
  if (!S_ISREG(status.st_mode)) return fail("not a regular file");
  if ((status.st_mode & (S_IRGRP | S_IROTH)) != 0) {
    return fail("readable by others; make it owner-only (chmod 600) first");
  }
  std::string content;
  char buffer[1024];
  while (content.size() <= kMaxSecret) {
    const ssize_t got = read(file.Get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return fail(std::strerror(errno));
    if (got == 0) break;
    content.append(buffer, static_cast<std::size_t>(got));
  }
  std::string why;
  auto secret = SecretOfContent(std::move(content), &why);
  if (!secret) return fail(why);
  return secret;
}

}  // namespace azu::ctl
