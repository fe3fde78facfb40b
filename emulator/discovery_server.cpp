#include "emulator/discovery_server.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace azu::emulator {
namespace {

// Room for the request with plenty to spare; a longer datagram is cut and so refused.
constexpr std::size_t kReceiveSize = 2048;

std::string Dotted(in_addr address) {
  char text[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &address, text, sizeof text);
  return text;
}

// Never answer where the answer would not go back to one asker.
bool IsAnswerable(const sockaddr_in& asker) {
  const std::uint32_t host = ntohl(asker.sin_addr.s_addr);
  return asker.sin_family == AF_INET && asker.sin_port != 0 && host != INADDR_ANY &&
         host != INADDR_BROADCAST && !IN_MULTICAST(host);
}

}  // namespace

std::unique_ptr<DiscoveryServer> DiscoveryServer::Bind(const std::string& address,
                                                       std::uint16_t port, std::string& error) {
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(port);
  if (::inet_pton(AF_INET, address.c_str(), &local.sin_addr) != 1) {
    error = "not an IPv4 address: " + address;
    return nullptr;
  }
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = std::string("cannot open the discovery socket: ") + std::strerror(errno);
    return nullptr;
  }
  const int yes = 1;
  ::setsockopt(fd, IPPROTO_IP, IP_PKTINFO, &yes, sizeof yes);
  socklen_t size = sizeof local;
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size) != 0) {
    error =
        "cannot bind " + address + ":" + std::to_string(port) + " (UDP): " + std::strerror(errno);
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<DiscoveryServer>(
      new DiscoveryServer(fd, local.sin_addr, ntohs(local.sin_port)));
}

DiscoveryServer::~DiscoveryServer() {
  ::close(fd_);
}

void DiscoveryServer::Run(const ServerIdentity& identity, EventLog& log, const StopSignal& stop) {
  pollfd entries[2] = {{fd_, POLLIN, 0}, {stop.Fd(), POLLIN, 0}};
  int timeout = -1;
  while (true) {
    entries[0].revents = 0;
    entries[1].revents = 0;
    if (::poll(entries, 2, timeout) < 0 && errno != EINTR) break;
    if (entries[1].revents != 0) break;
    if (entries[0].revents != 0) Answer(identity, log);
    timeout = ReportRateRefusals(log, false);
  }
  ReportRateRefusals(log, true);
}

int DiscoveryServer::ReportRateRefusals(EventLog& log, bool last) {
  if (rate_refusals_ == 0) return -1;
  const auto now = std::chrono::steady_clock::now();
  const auto due = rate_reported_ + kRateReport;
  if (!last && now < due) {
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(due - now).count();
    return static_cast<int>(wait) + 1;
  }
  log.Record("refused", {{"reason", "rate"}, {"count", std::to_string(rate_refusals_)}});
  rate_refusals_ = 0;
  rate_reported_ = now;
  return -1;
}

void DiscoveryServer::Answer(const ServerIdentity& identity, EventLog& log) {
  char data[kReceiveSize];
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
  sockaddr_in asker{};
  iovec part{data, sizeof data};
  msghdr message{};
  message.msg_name = &asker;
  message.msg_namelen = sizeof asker;
  message.msg_iov = &part;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  const ssize_t got = ::recvmsg(fd_, &message, MSG_DONTWAIT);
  if (got < 0) return;
  const std::string_view datagram(data, static_cast<std::size_t>(got));
  const std::string client = Dotted(asker.sin_addr);
  if ((message.msg_flags & MSG_TRUNC) != 0 || !IsDiscoveryRequest(datagram) ||
      !IsAnswerable(asker)) {
    const auto now = std::chrono::steady_clock::now();
    if (now - refusal_window_ >= std::chrono::seconds(1)) {
      refusal_window_ = now;
      refusals_in_window_ = 0;
    }
    if (++refusals_in_window_ <= kMostRefusalLogs) {
      log.Record("refused",
                 {{"client", client}, {"reason", "datagram"}, {"size", std::to_string(got)}});
    }
    return;
  }
  if (!limiter_.Allow(asker.sin_addr.s_addr, std::chrono::steady_clock::now())) {
    ++rate_refusals_;
    return;
  }
  ServerIdentity answered = identity;
  if (address_.s_addr == htonl(INADDR_ANY)) {
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr;
         header = CMSG_NXTHDR(&message, header)) {
      if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO) {
        in_pktinfo info{};
        std::memcpy(&info, CMSG_DATA(header), sizeof info);
        answered.address = Dotted(info.ipi_spec_dst);
      }
    }
  }
  const std::string answer = DiscoveryAnswer(answered);
  log.Record("discover", {{"client", client}});
  ::sendto(fd_, answer.data(), answer.size(), MSG_DONTWAIT,
           reinterpret_cast<const sockaddr*>(&asker), sizeof asker);
}

}  // namespace azu::emulator
