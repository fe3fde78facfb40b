#include "emulator/stop_signal.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace azu::emulator {

StopSignal::StopSignal() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
    read_fd_ = fds[0];
    write_fd_ = fds[1];
  }
}

StopSignal::~StopSignal() {
  if (read_fd_ >= 0) ::close(read_fd_);
  if (write_fd_ >= 0) ::close(write_fd_);
}

void StopSignal::Trigger() {
  const char byte = 1;
  // A full pipe is as triggered as one byte in it.
  [[maybe_unused]] const ssize_t written = ::write(write_fd_, &byte, 1);
}

bool StopSignal::Triggered() const {
  pollfd entry{read_fd_, POLLIN, 0};
  return ::poll(&entry, 1, 0) > 0;
}

}  // namespace azu::emulator
