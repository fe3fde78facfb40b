#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <cstring>

#include "platform/host_addresses.h"

namespace azu::platform {
namespace {

class InterfaceAddresses final : public HostAddressSource {
 public:
  std::vector<Ipv4Address> List() override {
    struct Found {
      unsigned index;
      Ipv4Address address;
    };
    std::vector<Found> found;
    ifaddrs* all = nullptr;
    if (getifaddrs(&all) != 0) return {};
    for (const ifaddrs* entry = all; entry != nullptr; entry = entry->ifa_next) {
      if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
      if ((entry->ifa_flags & IFF_UP) == 0 || (entry->ifa_flags & IFF_LOOPBACK) != 0) continue;
      sockaddr_in address;
      std::memcpy(&address, entry->ifa_addr, sizeof address);
      Found item{if_nametoindex(entry->ifa_name), {}};
      std::memcpy(item.address.data(), &address.sin_addr, 4);
      found.push_back(item);
    }
    freeifaddrs(all);
    // Interface order; an interface's own addresses keep the order the system lists them in.
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.index < b.index; });
    std::vector<Ipv4Address> addresses;
    addresses.reserve(found.size());
    for (const Found& item : found) addresses.push_back(item.address);
    return addresses;
  }
};

}  // namespace

HostAddressSource& SystemHostAddresses() {
  static InterfaceAddresses source;
  return source;
}

}  // namespace azu::platform
