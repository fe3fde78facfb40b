#pragma once
// What printer discovery asks of a socket: one broadcast out, replies in. The program uses
// CSocketWrapper; tests script the replies. Failures throw CSocketException.

#include <array>
#include <cstdint>
#include <memory>

namespace azu {

class DatagramTransport {
 public:
  virtual ~DatagramTransport() = default;
  // A UDP socket bound to `localAddress` on a port the system chooses, broadcasting allowed.
  virtual void Open(const char* localAddress) = 0;
  // Bytes sent (0 is possible); -1 when nothing is open.
  virtual int SendTo(const void* data, int length, const char* address, std::uint16_t port) = 0;
  // Waits at most one second; true when a datagram can be read.
  virtual bool WaitReadable() = 0;
  // Bytes received; the sender's address in network order and its port.
  virtual int ReceiveFrom(void* buffer, int length, std::array<std::uint8_t, 4>& sender,
                          std::uint16_t& senderPort) = 0;
  virtual void Close() = 0;
};

// The transport over CSocketWrapper.
std::unique_ptr<DatagramTransport> MakeSocketTransport();

}  // namespace azu
