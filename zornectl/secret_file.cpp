#include "zornectl/secret_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/file_descriptor.h"

namespace azu::ctl {
namespace {

constexpr std::size_t kMaxSecret = 4096;

std::string WithoutLineEnd(std::string text) {
  if (!text.empty() && text.back() == '\n') text.pop_back();
  if (!text.empty() && text.back() == '\r') text.pop_back();
  return text;
}

}  // namespace

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
  for (;;) {
    const ssize_t got = read(file.Get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return fail(std::strerror(errno));
    if (got == 0) break;
    content.append(buffer, static_cast<std::size_t>(got));
    if (content.size() > kMaxSecret) return fail("too long for a secret");
  }
  content = WithoutLineEnd(std::move(content));
  if (content.find_first_of("\r\n") != std::string::npos) return fail("holds a line break");
  return content;
}

std::optional<std::string> PromptWithoutEcho(const std::string& prompt) {
  const platform::FileDescriptor terminal(open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY));
  if (!terminal.Valid()) return std::nullopt;
  termios before{};
  if (tcgetattr(terminal.Get(), &before) != 0) return std::nullopt;
  termios quiet = before;
  quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  quiet.c_lflag |= ECHONL;
  if (!platform::WriteAll(terminal.Get(), prompt) ||
      tcsetattr(terminal.Get(), TCSAFLUSH, &quiet) != 0) {
    return std::nullopt;
  }
  std::string answer;
  char c = 0;
  bool ended = false;
  for (;;) {
    const ssize_t got = read(terminal.Get(), &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ended = true;
      break;
    }
    if (c == '\n') break;
    if (answer.size() < kMaxSecret) answer.push_back(c);
  }
  tcsetattr(terminal.Get(), TCSAFLUSH, &before);
  if (ended && answer.empty()) return std::nullopt;
  return WithoutLineEnd(std::move(answer));
}

}  // namespace azu::ctl
