#include "zornectl/console.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_descriptor.h"
#include "zornectl/secret_file.h"

namespace azu::ctl {

bool IsTerminal(std::FILE* stream) {
  return isatty(fileno(stream)) != 0;
}

bool InputIsTerminal() {
  return isatty(STDIN_FILENO) != 0;
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
