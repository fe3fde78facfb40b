#include "vireo/discovery_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "platform/file_descriptor.h"
#include "vireo/protocol.h"

namespace azu::vireo {

using platform::FileDescriptor;

namespace {

sockaddr_in SocketAddress(std::uint32_t address, std::uint16_t port) {
  sockaddr_in socket_address{};
  socket_address.sin_family = AF_INET;
  socket_address.sin_addr.s_addr = htonl(address);
  socket_address.sin_port = htons(port);
  return socket_address;
}

bool Prepare(const FileDescriptor& socket) {
  const int on = 1;
  if (!socket.Valid() ||
      ::setsockopt(socket.Get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
    return false;
  }
  const sockaddr_in any = SocketAddress(INADDR_ANY, 0);
  return ::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&any), sizeof any) == 0;
}

bool SendRequest(const FileDescriptor& socket, const Ipv4Endpoint& target) {
  const sockaddr_in to = SocketAddress(target.address, target.port);
  while (true) {
    const ssize_t sent = ::sendto(socket.Get(), kDiscoveryRequest.data(), kDiscoveryRequest.size(),
                                  0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    if (sent >= 0 || errno != EINTR) {
      return sent == static_cast<ssize_t>(kDiscoveryRequest.size());
    }
  }
}

// Takes every datagram waiting on the socket.
void Drain(const FileDescriptor& socket, DiscoveryResults& results) {
  // One byte more than an answer may have, so an oversized one shows as such.
  std::array<char, kMaxDiscoveryAnswerBytes + 1> buffer{};
  while (!results.Full()) {
    sockaddr_in from{};
    socklen_t from_size = sizeof from;
    const ssize_t got = ::recvfrom(socket.Get(), buffer.data(), buffer.size(), MSG_DONTWAIT,
                                   reinterpret_cast<sockaddr*>(&from), &from_size);
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      return;
    }
    if (from.sin_family == AF_INET) {
      results.Offer(ntohl(from.sin_addr.s_addr),
                    std::string_view(buffer.data(), static_cast<std::size_t>(got)));
    }
  }
}

}  // namespace

VIREO_STATUS Discover(const std::vector<Ipv4Endpoint>& targets,
                      std::chrono::milliseconds listen_for, DiscoveryResults& results) {
  const FileDescriptor socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  if (!Prepare(socket)) {
    return VIREO_E_DISCOVERY;
  }
  const auto sent = std::count_if(targets.begin(), targets.end(), [&socket](const auto& target) {
    return SendRequest(socket, target);
  });
  if (sent == 0) {
    return VIREO_E_DISCOVERY;
  }

  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + listen_for;
  while (!results.Full()) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) {
      break;
    }
    pollfd wait{socket.Get(), POLLIN, 0};
    const int ready = ::poll(&wait, 1, static_cast<int>(std::min<long long>(left, 1000)));
    if (ready < 0 && errno != EINTR) {
      return VIREO_E_DISCOVERY;
    }
    if (ready > 0) {
      Drain(socket, results);
    }
  }
  return VIREO_OK;
}

}  // namespace azu::vireo
