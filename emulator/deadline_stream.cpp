#include "emulator/deadline_stream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace azu::emulator {
namespace {

using Clock = std::chrono::steady_clock;

// Bounds of Linger(): long enough for a client on the local network to finish sending a
// refused body, short enough not to keep a thread.
constexpr std::chrono::milliseconds kLingerTime{3000};
constexpr std::size_t kLingerBytes = std::size_t{32} * 1024 * 1024;

void AddressText(const sockaddr_storage& address, std::string& ip, int& port) {
  char text[INET6_ADDRSTRLEN] = {};
  if (address.ss_family == AF_INET) {
    const auto* v4 = reinterpret_cast<const sockaddr_in*>(&address);
    ::inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text);
    port = ntohs(v4->sin_port);
  } else if (address.ss_family == AF_INET6) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&address);
    ::inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
    port = ntohs(v6->sin6_port);
  }
  ip = text;
}

}  // namespace

DeadlineStream::DeadlineStream(int sock, int stop_fd, const ConnectionLimits& limits)
    : sock_(sock), stop_fd_(stop_fd), limits_(limits), deadline_(Clock::now()) {}

bool DeadlineStream::Wait(short events, std::chrono::milliseconds timeout, TimePoint until) const {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
  const auto wait = std::min(timeout, left);
  if (wait.count() <= 0) return false;
  pollfd entries[2] = {{sock_, events, 0}, {stop_fd_, POLLIN, 0}};
  int ready = 0;
  do {
    ready = ::poll(entries, 2, static_cast<int>(wait.count()));
  } while (ready < 0 && errno == EINTR);
  if (ready <= 0 || entries[1].revents != 0) return false;
  // A hang-up or an error counts as ready: the next call reports it.
  return entries[0].revents != 0;
}

bool DeadlineStream::WaitForRequest() {
  if (buffer_start_ < buffer_end_) return true;
  return Wait(POLLIN, limits_.keep_alive, Clock::now() + limits_.keep_alive);
}

void DeadlineStream::StartRequest() {
  deadline_ = Clock::now() + limits_.request_deadline;
}

bool DeadlineStream::is_readable() const {
  return buffer_start_ < buffer_end_ || Wait(POLLIN, limits_.read_timeout, deadline_);
}

bool DeadlineStream::is_writable() const {
  return Wait(POLLOUT, limits_.write_timeout, deadline_);
}

ssize_t DeadlineStream::read(char* ptr, size_t size) {
  if (buffer_start_ == buffer_end_) {
    if (!is_readable()) return -1;
    ssize_t got = 0;
    do {
      got = ::recv(sock_, buffer_, kBufferSize, 0);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) return got;
    buffer_start_ = 0;
    buffer_end_ = static_cast<std::size_t>(got);
  }
  const std::size_t taken = std::min(size, buffer_end_ - buffer_start_);
  std::memcpy(ptr, buffer_ + buffer_start_, taken);
  buffer_start_ += taken;
  return static_cast<ssize_t>(taken);
}

ssize_t DeadlineStream::write(const char* ptr, size_t size) {
  if (!is_writable()) return -1;
  ssize_t sent = 0;
  do {
    sent = ::send(sock_, ptr, size, MSG_NOSIGNAL);
  } while (sent < 0 && errno == EINTR);
  return sent;
}

void DeadlineStream::Linger() {
  ::shutdown(sock_, SHUT_WR);
  const TimePoint until = Clock::now() + kLingerTime;
  std::size_t dropped = 0;
  char scratch[16384];
  while (dropped < kLingerBytes && Wait(POLLIN, kLingerTime, until)) {
    const ssize_t got = ::recv(sock_, scratch, sizeof scratch, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    dropped += static_cast<std::size_t>(got);
  }
}

void DeadlineStream::get_remote_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t size = sizeof address;
  if (::getpeername(sock_, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
    AddressText(address, ip, port);
  }
}

void DeadlineStream::get_local_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t size = sizeof address;
  if (::getsockname(sock_, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
    AddressText(address, ip, port);
  }
}

}  // namespace azu::emulator
