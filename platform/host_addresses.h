#pragma once
// The IPv4 addresses of this host, in a stable order (POSIX: interfaces that are up, loopback
// excluded, in interface order; Windows: the addresses of the host name).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace azu::platform {

// Four bytes in network order, as a socket address holds them.
using Ipv4Address = std::array<std::uint8_t, 4>;

class HostAddressSource {
 public:
  virtual ~HostAddressSource() = default;
  // Empty when the system gives none.
  virtual std::vector<Ipv4Address> List() = 0;
};

HostAddressSource& SystemHostAddresses();

// "%d.%d.%d.%d" of the four bytes in order.
std::string DottedText(const Ipv4Address& address);

}  // namespace azu::platform
