#include <arpa/inet.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "attach/socket_wrapper.h"

namespace azu {
namespace {

constexpr NativeSocket kNoSocket = -1;
constexpr int kWaitMilliseconds = 1000;

sockaddr_in EmptyAddress() {
  sockaddr_in address;
  std::memset(&address, 0, sizeof address);
  address.sin_family = AF_INET;
  return address;
}

sockaddr* AsSockaddr(sockaddr_in* address) {
  return static_cast<sockaddr*>(static_cast<void*>(address));
}

}  // namespace

CSocketWrapper::CSocketWrapper()
    : local_(EmptyAddress()), remote_(EmptyAddress()), socket_(kNoSocket), type_(SOCK_STREAM) {}

CSocketWrapper::~CSocketWrapper() {
  Close();
}

bool CSocketWrapper::IsOpen() const {
  return socket_ != kNoSocket;
}

bool CSocketWrapper::Create(std::uint16_t port, int type, const char* localAddress,
                            bool broadcast) {
  Close();
  type_ = type;
  socket_ = socket(AF_INET, type, IPPROTO_UDP);
  if (socket_ == kNoSocket) throw CSocketException(errno, "socket()");
  if (localAddress == nullptr) return true;
  local_.sin_port = htons(port);
  local_.sin_addr.s_addr = inet_addr(localAddress);
  if (broadcast) {
    const int on = 1;
    if (setsockopt(socket_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == -1) {
      throw CSocketException(errno, "setsockopt()");
    }
  }
  if (bind(socket_, AsSockaddr(&local_), sizeof local_) != 0) {
    throw CSocketException(errno, "bind()");
  }
  socklen_t length = sizeof local_;
  getsockname(socket_, AsSockaddr(&local_), &length);
  return true;
}

int CSocketWrapper::SendTo(const void* buffer, int length, const char* address, std::uint16_t port,
                           int flags) {
  if (socket_ == kNoSocket) return -1;
  remote_.sin_port = htons(port);
  remote_.sin_addr.s_addr = inet_addr(address);
  const ssize_t sent = sendto(socket_, buffer, static_cast<std::size_t>(length), flags,
                              AsSockaddr(&remote_), sizeof remote_);
  if (sent == -1) throw CSocketException(errno, "sendto()");
  return static_cast<int>(sent);
}

int CSocketWrapper::ReceiveFrom(void* buffer, int length, sockaddr* sender, int* senderLength,
                                int flags) {
  if (socket_ == kNoSocket) return -1;
  socklen_t size = senderLength != nullptr ? static_cast<socklen_t>(*senderLength) : 0;
  const ssize_t received = recvfrom(socket_, buffer, static_cast<std::size_t>(length), flags,
                                    sender, senderLength != nullptr ? &size : nullptr);
  if (received == -1) throw CSocketException(errno, "recvfrom()");
  if (senderLength != nullptr) *senderLength = static_cast<int>(size);
  return static_cast<int>(received);
}

// poll, not select: a descriptor above FD_SETSIZE would overrun select's fixed sets.
bool CSocketWrapper::WaitOnSocket(bool& read, bool& write, bool& except) {
  short events = 0;
  if (read) events |= POLLIN;
  if (write) events |= POLLOUT;
  if (except) events |= POLLPRI;
  read = write = except = false;
  if (socket_ == kNoSocket) return false;
  pollfd watched{socket_, events, 0};
  if (poll(&watched, 1, kWaitMilliseconds) == -1) {
    // A signal (a stop request) cut the wait short: nothing is ready, the caller looks again.
    if (errno == EINTR) return false;
    throw CSocketException(errno, "WaitOnSocket()");
  }
  // select counts a pending error as readable and writable; so do we.
  const short failed = POLLERR | POLLHUP;
  read = (events & POLLIN) != 0 && (watched.revents & (POLLIN | failed)) != 0;
  write = (events & POLLOUT) != 0 && (watched.revents & (POLLOUT | failed)) != 0;
  except = (events & POLLPRI) != 0 && (watched.revents & POLLPRI) != 0;
  return read || write || except;
}

void CSocketWrapper::Close() {
  if (socket_ == kNoSocket) return;
  close(socket_);
  socket_ = kNoSocket;
}

}  // namespace azu
