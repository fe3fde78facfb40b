#include "vireo/discovery_socket.h"

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <array>

#include "vireo/protocol.h"

namespace azu::vireo {
namespace {

class Socket {
 public:
  Socket() : socket_(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP)) {}
  ~Socket() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  Socket(Socket&&) = delete;
  Socket& operator=(Socket&&) = delete;
  [[nodiscard]] SOCKET Get() const { return socket_; }

 private:
  SOCKET socket_;
};

sockaddr_in SocketAddress(std::uint32_t address, std::uint16_t port) {
  sockaddr_in socket_address{};
  socket_address.sin_family = AF_INET;
  socket_address.sin_addr.s_addr = htonl(address);
  socket_address.sin_port = htons(port);
  return socket_address;
}

bool StartWinsock() {
  static const bool started = [] {
    WSADATA data{};
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

bool Prepare(const Socket& socket) {
  const BOOL on = TRUE;
  u_long non_blocking = 1;
  if (socket.Get() == INVALID_SOCKET ||
      setsockopt(socket.Get(), SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on),
                 sizeof on) != 0 ||
      ioctlsocket(socket.Get(), FIONBIO, &non_blocking) != 0) {
    return false;
  }
  const sockaddr_in any = SocketAddress(INADDR_ANY, 0);
  return ::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&any), sizeof any) == 0;
}

bool SendRequest(const Socket& socket, const Ipv4Endpoint& target) {
  const sockaddr_in to = SocketAddress(target.address, target.port);
  const int sent =
      ::sendto(socket.Get(), kDiscoveryRequest.data(), static_cast<int>(kDiscoveryRequest.size()),
               0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  return sent == static_cast<int>(kDiscoveryRequest.size());
}

// Takes every datagram waiting on the socket.
void Drain(const Socket& socket, DiscoveryResults& results) {
  // One byte more than an answer may have, so an oversized one shows as such.
  std::array<char, kMaxDiscoveryAnswerBytes + 1> buffer{};
  while (!results.Full()) {
    sockaddr_in from{};
    int from_size = sizeof from;
    const int got = ::recvfrom(socket.Get(), buffer.data(), static_cast<int>(buffer.size()), 0,
                               reinterpret_cast<sockaddr*>(&from), &from_size);
    if (got < 0) {
      const int error = WSAGetLastError();
      // A datagram larger than the buffer is cut and reported so: still an answer to judge.
      if (error == WSAEMSGSIZE) {
        results.Offer(ntohl(from.sin_addr.s_addr), std::string_view(buffer.data(), buffer.size()));
        continue;
      }
      // A target with nobody listening reports so to the next receive; the others may answer.
      if (error == WSAECONNRESET) continue;
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
  if (!StartWinsock()) {
    return VIREO_E_DISCOVERY;
  }
  const Socket socket;
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
    const long wait = static_cast<long>(std::min<long long>(left, 1000));
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(socket.Get(), &ready);
    timeval time{wait / 1000, (wait % 1000) * 1000};
    const int count = select(0, &ready, nullptr, nullptr, &time);
    if (count == SOCKET_ERROR) {
      return VIREO_E_DISCOVERY;
    }
    if (count > 0) {
      Drain(socket, results);
    }
  }
  return VIREO_OK;
}

}  // namespace azu::vireo
