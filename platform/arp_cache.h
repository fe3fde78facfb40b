#pragma once
// The host's ARP cache, asked for the entries of one IPv4 address (POSIX: /proc/net/arp;
// Windows: the listing of `arp.exe -a`).

#include <functional>
#include <string_view>

namespace azu::platform {

// Called per entry found: the local address of the entry's interface ("" when it has none) and
// the hardware address as the system prints it. Return false to stop.
using ArpVisitor =
    std::function<bool(std::string_view interfaceAddress, std::string_view hardwareAddress)>;

class ArpCache {
 public:
  virtual ~ArpCache() = default;
  // False when the cache cannot be read (the command failed or its output cannot be opened).
  virtual bool Lookup(std::string_view address, const ArpVisitor& visit) = 0;
};

ArpCache& SystemArpCache();

}  // namespace azu::platform
