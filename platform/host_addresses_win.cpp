// gethostbyname is what the program asks of Winsock 1.1; the define keeps the compilers that
// mark it deprecated quiet.
#define _WINSOCK_DEPRECATED_NO_WARNINGS
#include <winsock2.h>

#include <cstring>

#include "platform/host_addresses.h"

namespace azu::platform {
namespace {

// The addresses that the host's own name resolves to, in the order the resolver gives them.
class HostNameAddresses final : public HostAddressSource {
 public:
  std::vector<Ipv4Address> List() override {
    char name[1024];
    if (gethostname(name, sizeof name) != 0) return {};
    name[sizeof name - 1] = '\0';
    const hostent* entry = gethostbyname(name);
    if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_length != 4) return {};
    std::vector<Ipv4Address> addresses;
    for (char** item = entry->h_addr_list; *item != nullptr; ++item) {
      Ipv4Address address;
      std::memcpy(address.data(), *item, 4);
      addresses.push_back(address);
    }
    return addresses;
  }
};

}  // namespace

HostAddressSource& SystemHostAddresses() {
  static HostNameAddresses source;
  return source;
}

}  // namespace azu::platform
