#define _WINSOCK_DEPRECATED_NO_WARNINGS  // inet_addr: dotted text as Windows Sockets 1.1 reads it
#include <winsock2.h>

#include <cstring>

#include "attach/socket_wrapper.h"

namespace azu {
namespace {

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
    : local_(EmptyAddress()),
      remote_(EmptyAddress()),
      socket_(INVALID_SOCKET),
      type_(SOCK_STREAM) {}

CSocketWrapper::~CSocketWrapper() {
  Close();
}

bool CSocketWrapper::IsOpen() const {
  return socket_ != INVALID_SOCKET;
}

bool CSocketWrapper::Create(std::uint16_t port, int type, const char* localAddress,
                            bool broadcast) {
  Close();
  type_ = type;
  socket_ = socket(AF_INET, type, IPPROTO_UDP);
  if (socket_ == INVALID_SOCKET) throw CSocketException(WSAGetLastError(), "socket()");
  if (localAddress == nullptr) return true;
  local_.sin_port = htons(port);
  local_.sin_addr.s_addr = inet_addr(localAddress);
  if (broadcast) {
    const int on = 1;
    if (setsockopt(socket_, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on),
                   sizeof on) == SOCKET_ERROR) {
      throw CSocketException(WSAGetLastError(), "setsockopt()");
    }
  }
  if (bind(socket_, AsSockaddr(&local_), sizeof local_) != 0) {
    throw CSocketException(WSAGetLastError(), "bind()");
  }
  int length = sizeof local_;
  getsockname(socket_, AsSockaddr(&local_), &length);
  return true;
}

int CSocketWrapper::SendTo(const void* buffer, int length, const char* address, std::uint16_t port,
                           int flags) {
  if (socket_ == INVALID_SOCKET) return -1;
  remote_.sin_port = htons(port);
  remote_.sin_addr.s_addr = inet_addr(address);
  const int sent = sendto(socket_, static_cast<const char*>(buffer), length, flags,
                          AsSockaddr(&remote_), sizeof remote_);
  if (sent == SOCKET_ERROR) throw CSocketException(WSAGetLastError(), "sendto()");
  return sent;
}

int CSocketWrapper::ReceiveFrom(void* buffer, int length, sockaddr* sender, int* senderLength,
                                int flags) {
  if (socket_ == INVALID_SOCKET) return -1;
  const int received =
      recvfrom(socket_, static_cast<char*>(buffer), length, flags, sender, senderLength);
  if (received == SOCKET_ERROR) throw CSocketException(WSAGetLastError(), "recvfrom()");
  return received;
}

bool CSocketWrapper::WaitOnSocket(bool& read, bool& write, bool& except) {
  timeval timeout{1, 0};
  fd_set readSet;
  fd_set writeSet;
  fd_set exceptSet;
  FD_ZERO(&readSet);
  FD_ZERO(&writeSet);
  FD_ZERO(&exceptSet);
  if (read) FD_SET(socket_, &readSet);
  if (write) FD_SET(socket_, &writeSet);
  if (except) FD_SET(socket_, &exceptSet);
  read = write = except = false;
  if (socket_ == INVALID_SOCKET) return false;
  // The first argument is ignored by Windows Sockets. Three empty sets are refused there.
  if (select(1, &readSet, &writeSet, &exceptSet, &timeout) == SOCKET_ERROR) {
    throw CSocketException(WSAGetLastError(), "WaitOnSocket()");
  }
  read = FD_ISSET(socket_, &readSet) != 0;
  write = FD_ISSET(socket_, &writeSet) != 0;
  except = FD_ISSET(socket_, &exceptSet) != 0;
  return read || write || except;
}

void CSocketWrapper::Close() {
  if (socket_ == INVALID_SOCKET) return;
  closesocket(socket_);
  socket_ = INVALID_SOCKET;
}

}  // namespace azu
