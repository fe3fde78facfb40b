#pragma once
// Finding printers: SNMP ifPhysAddress broadcasts from every host address and a lookup in the
// host's ARP cache, each appending printer address records after those already counted.

#include <span>
#include <string_view>
#include <vector>

#include "attach/datagram_transport.h"
#include "attach/printer_records.h"
#include "attach/snmp_queries.h"
#include "platform/arp_cache.h"
#include "platform/clock.h"
#include "platform/host_addresses.h"
#include "platform/stop_request.h"

namespace azu {

using HostAddressList = std::vector<platform::Ipv4Address>;

// The host's addresses (empty when the system gives none) and their number.
HostAddressList GetHostAddresses(platform::HostAddressSource& source);
int CountAddresses(const HostAddressList& addresses);

// The socket and the clock a query runs on, and the stop request that ends it early (between
// two waits of at most a second).
struct DiscoveryIo {
  DatagramTransport& transport;
  platform::Clock& clock;
  const platform::StopRequest* stop = nullptr;
  [[nodiscard]] bool Stopped() const { return stop != nullptr && stop->Requested(); }
};

// Listens `timeLimit` seconds per host address, last address first, for replies to one query,
// and records each accepted reply while the array has room. 0, or the error code of the socket
// call that failed (which ends the query; records made until then stay counted).
int DiscoverInterfaceMacs(const MacQuery& query, const HostAddressList& hosts, int timeLimit,
                          std::span<PrinterAddressRecord> records, int& count, DiscoveryIo io);
int DiscoverInterfaceMacs1(const HostAddressList& hosts, int timeLimit,
                           std::span<PrinterAddressRecord> records, int& count, DiscoveryIo io);
int DiscoverInterfaceMacs2(const HostAddressList& hosts, int timeLimit,
                           std::span<PrinterAddressRecord> records, int& count, DiscoveryIo io);
// Both queries in turn; the sum of their results.
int DiscoverPrinterMacs(const HostAddressList& hosts, int timeLimit,
                        std::span<PrinterAddressRecord> records, int& count, DiscoveryIo io);

// Records the ARP cache's entries for `address` (hardware address with ':' for '-'), but not the
// excluded MACs. 0; 1 when the cache cannot be read.
int LookupArpMac(std::string_view address, std::span<PrinterAddressRecord> records, int& count,
                 platform::ArpCache& arp);

}  // namespace azu
