#pragma once
// A blocking IPv4 socket with its local and remote address; every failing system call throws
// CSocketException. Used by printer discovery for its UDP broadcasts.

#include <cstdint>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include "attach/socket_exception.h"

namespace azu {

#ifdef _WIN32
using NativeSocket = SOCKET;
#else
using NativeSocket = int;
#endif

class CSocketWrapper {
 public:
  CSocketWrapper();
  ~CSocketWrapper();  // closes the socket
  CSocketWrapper(const CSocketWrapper&) = delete;
  CSocketWrapper& operator=(const CSocketWrapper&) = delete;
  CSocketWrapper(CSocketWrapper&&) = delete;
  CSocketWrapper& operator=(CSocketWrapper&&) = delete;

  // Opens a socket of `type` (always with protocol UDP). With a local address: allows
  // broadcasting when asked, binds to the address and `port` (0: the system chooses) and reads
  // back the bound address. Without one the socket stays unbound. Always true; failures throw
  // "socket()", "setsockopt()" or "bind()".
  bool Create(std::uint16_t port, int type, const char* localAddress, bool broadcast);
  // Bytes sent; -1 when no socket is open. Throws "sendto()".
  int SendTo(const void* buffer, int length, const char* address, std::uint16_t port, int flags);
  // Bytes received; -1 when no socket is open. Throws "recvfrom()".
  int ReceiveFrom(void* buffer, int length, sockaddr* sender, int* senderLength, int flags);
  // Waits at most one second for the asked conditions; each flag then says whether it holds.
  // True when any does. A closed socket gives false at once. Throws "WaitOnSocket()".
  bool WaitOnSocket(bool& read, bool& write, bool& except);
  // Closes an open socket; never throws.
  void Close();

  [[nodiscard]] bool IsOpen() const;
  [[nodiscard]] int Type() const { return type_; }
  [[nodiscard]] const sockaddr_in& LocalAddress() const { return local_; }
  [[nodiscard]] const sockaddr_in& RemoteAddress() const { return remote_; }

 private:
  sockaddr_in local_;
  sockaddr_in remote_;
  NativeSocket socket_;
  int type_;
};

}  // namespace azu
