#include "attach/printer_discovery.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "attach/socket_exception.h"

namespace azu {
namespace {

constexpr const char* kLimitedBroadcast = "255.255.255.255";
constexpr std::uint16_t kSnmpPort = 161;
constexpr int kReceiveBufferSize = 4096;

// One socket: the request out, then replies until the time limit has passed.
void Listen(const MacQuery& query, const std::string& local, int timeLimit,
            std::span<PrinterAddressRecord> records, int& count, DiscoveryIo io) {
  io.transport.Open(local.c_str());
  const int sent = io.transport.SendTo(query.request.data(), static_cast<int>(query.request.size()),
                                       kLimitedBroadcast, kSnmpPort);
  if (sent != 0) {
    std::array<std::uint8_t, kReceiveBufferSize> reply;
    const std::int64_t start = io.clock.NowSeconds();
    std::int64_t now = start;
    while (now - start < timeLimit && !io.Stopped()) {
      if (io.transport.WaitReadable()) {
        platform::Ipv4Address sender{};
        std::uint16_t senderPort = 0;
        const int received =
            io.transport.ReceiveFrom(reply.data(), kReceiveBufferSize, sender, senderPort);
        // An agent answers from the port it was asked on; anything else is not its answer.
        const auto mac =
            senderPort == kSnmpPort ? MacFromReply(reply.data(), received, query) : std::nullopt;
        if (mac) AppendRecord(records, count, local, platform::DottedText(sender), mac->View());
      }
      now = io.clock.NowSeconds();
    }
  }
  io.transport.Close();
}

}  // namespace

HostAddressList GetHostAddresses(platform::HostAddressSource& source) {
  return source.List();
}

int CountAddresses(const HostAddressList& addresses) {
  return static_cast<int>(addresses.size());
}

int DiscoverInterfaceMacs(const MacQuery& query, const HostAddressList& hosts, int timeLimit,
                          std::span<PrinterAddressRecord> records, int& count, DiscoveryIo io) {
  for (auto host = hosts.rbegin(); host != hosts.rend() && !io.Stopped(); ++host) {
    try {
      Listen(query, platform::DottedText(*host), timeLimit, records, count, io);
    } catch (const CSocketException& failure) {
      io.transport.Close();
      return failure.GetErrorCode();
    }
  }
  return 0;
}

int DiscoverInterfaceMacs1(const HostAddressList& hosts, int timeLimit,
                           std::span<PrinterAddressRecord> records, int& count, DiscoveryIo io) {
  return DiscoverInterfaceMacs(kInterface1Query, hosts, timeLimit, records, count, io);
}

int DiscoverInterfaceMacs2(const HostAddressList& hosts, int timeLimit,
                           std::span<PrinterAddressRecord> records, int& count, DiscoveryIo io) {
  return DiscoverInterfaceMacs(kInterface2Query, hosts, timeLimit, records, count, io);
}

int DiscoverPrinterMacs(const HostAddressList& hosts, int timeLimit,
                        std::span<PrinterAddressRecord> records, int& count, DiscoveryIo io) {
  const int first = DiscoverInterfaceMacs1(hosts, timeLimit, records, count, io);
  return first + DiscoverInterfaceMacs2(hosts, timeLimit, records, count, io);
}

int LookupArpMac(std::string_view address, std::span<PrinterAddressRecord> records, int& count,
                 platform::ArpCache& arp) {
  const bool read = arp.Lookup(address, [&](std::string_view interface, std::string_view hardware) {
    std::array<char, 18> mac{};
    if (hardware.size() >= mac.size()) return true;  // not a MAC of six bytes
    std::replace_copy(hardware.begin(), hardware.end(), mac.begin(), '-', ':');
    const std::string_view text(mac.data(), hardware.size());
    if (std::find(kArpExcluded.begin(), kArpExcluded.end(), text) != kArpExcluded.end()) {
      return true;
    }
    AppendRecord(records, count, interface, address, text);
    return static_cast<std::size_t>(count) < records.size();
  });
  return read ? 0 : 1;
}

}  // namespace azu
