#include "tests/support/tcp_relay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace azu::test {
namespace {

constexpr int kPollMs = 50;

sockaddr_in Loopback(std::uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

}  // namespace

int ListenOnLoopback(std::uint16_t& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(0);
  socklen_t size = sizeof address;
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, 16) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    ::close(fd);
    return -1;
  }
  port = ntohs(address.sin_port);
  return fd;
}

TcpRelay::TcpRelay(std::uint16_t target_port) : target_port_(target_port) {
  listener_ = ListenOnLoopback(port_);
  if (listener_ >= 0) acceptor_ = std::thread([this] { Accept(); });
}

TcpRelay::~TcpRelay() {
  stopping_ = true;
  if (acceptor_.joinable()) acceptor_.join();
  for (std::thread& pump : pumps_) pump.join();
  ::close(listener_);
}

std::string TcpRelay::Address() const {
  return "127.0.0.1:" + std::to_string(port_);
}

void TcpRelay::Retarget(std::uint16_t target_port) {
  target_port_ = target_port;
}

std::string TcpRelay::Wire() const {
  const std::lock_guard lock(mutex_);
  return wire_;
}

void TcpRelay::Accept() {
  while (!stopping_) {
    pollfd ready{listener_, POLLIN, 0};
    if (::poll(&ready, 1, kPollMs) <= 0) continue;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in target = Loopback(target_port_);
    if (::connect(server, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
      ::close(server);
      ::close(client);
      continue;
    }
    pumps_.emplace_back([this, client, server] { Pump(client, server); });
  }
}

void TcpRelay::Pump(int client, int server) {
  pollfd ends[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
  char buffer[65536];
  bool open = true;
  while (open && !stopping_) {
    if (::poll(ends, 2, kPollMs) <= 0) continue;
    for (int side = 0; side < 2 && open; ++side) {
      if (ends[side].revents == 0) continue;
      const ssize_t got = ::recv(ends[side].fd, buffer, sizeof buffer, 0);
      if (got <= 0) {
        open = false;
        break;
      }
      {
        const std::lock_guard lock(mutex_);
        wire_.append(buffer, static_cast<std::size_t>(got));
      }
      open = ::send(ends[1 - side].fd, buffer, static_cast<std::size_t>(got), MSG_NOSIGNAL) == got;
    }
  }
  ::close(client);
  ::close(server);
}

}  // namespace azu::test
