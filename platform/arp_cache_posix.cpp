#include <ifaddrs.h>
#include <netinet/in.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/arp_cache.h"
#include "platform/arp_listing.h"
#include "platform/host_addresses.h"

namespace azu::platform {
namespace {

constexpr const char* kArpTable = "/proc/net/arp";
// The kernel's table is small; anything past this is not an ARP table.
constexpr std::size_t kMaxTableSize = 1 << 20;

// The first IPv4 address of `device`, "" when it has none.
std::string DeviceAddress(std::string_view device) {
  ifaddrs* all = nullptr;
  if (getifaddrs(&all) != 0) return {};
  std::string found;
  for (const ifaddrs* entry = all; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
    if (device != entry->ifa_name) continue;
    sockaddr_in address;
    std::memcpy(&address, entry->ifa_addr, sizeof address);
    Ipv4Address bytes;
    std::memcpy(bytes.data(), &address.sin_addr, 4);
    found = DottedText(bytes);
    break;
  }
  freeifaddrs(all);
  return found;
}

class ProcNetArp final : public ArpCache {
 public:
  bool Lookup(std::string_view address, const ArpVisitor& visit) override {
    std::FILE* file = std::fopen(kArpTable, "r");
    if (file == nullptr) return false;
    std::string table;
    char buffer[4096];
    std::size_t got = 0;
    while (table.size() < kMaxTableSize && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
      table.append(buffer, got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return false;
    ParseProcNetArp(table, address, DeviceAddress, visit);
    return true;
  }
};

}  // namespace

ArpCache& SystemArpCache() {
  static ProcNetArp cache;
  return cache;
}

}  // namespace azu::platform
