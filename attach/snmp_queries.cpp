#include "attach/snmp_queries.h"

#include <algorithm>
#include <cstdio>

namespace azu {
namespace {

// SEQUENCE { version 0, community "cobalt", GetRequest { id 1, status 0, index 0,
// { { 1.3.6.1.2.1.2.2.1.6.N, NULL } } } }
constexpr std::array<std::uint8_t, 42> RequestFor(std::uint8_t interface) {
  return {0x30, 0x28, 0x02, 0x01, 0x00, 0x04, 0x06, 'c',  'o',  'b',  'a',  'l',       't',  0xA0,
          0x1B, 0x02, 0x01, 0x01, 0x02, 0x01, 0x00, 0x02, 0x01, 0x00, 0x30, 0x10,      0x30, 0x0E,
          0x06, 0x0A, 0x2B, 0x06, 0x01, 0x02, 0x01, 0x02, 0x02, 0x01, 0x06, interface, 0x05, 0x00};
}

constexpr std::array<std::uint8_t, 42> kInterface1Request = RequestFor(1);
constexpr std::array<std::uint8_t, 42> kInterface2Request = RequestFor(2);

// The smallest reply that is more than the address itself.
constexpr int kMinReplyLength = 7;
constexpr int kMacLength = 6;

}  // namespace

const MacQuery kInterface1Query = {kInterface1Request,
                                   {"00:00:00:00:00:00", "02:01:06:01:04:00", "02:01:06:01:05:00"}};
const MacQuery kInterface2Query = {kInterface2Request,
                                   {"00:00:00:00:00:00", "02:01:06:02:04:00", "02:01:06:02:05:00"}};

MacText FormatMac(const std::uint8_t* bytes) {
  MacText mac;
  std::snprintf(mac.text.data(), mac.text.size(), "%02x:%02x:%02x:%02x:%02x:%02x", bytes[0],
                bytes[1], bytes[2], bytes[3], bytes[4], bytes[5]);
  return mac;
}

std::optional<MacText> MacFromReply(const std::uint8_t* reply, int length, const MacQuery& query) {
  if (reply == nullptr || length < kMinReplyLength) return std::nullopt;
  const MacText mac = FormatMac(reply + length - kMacLength);
  if (std::find(query.excluded.begin(), query.excluded.end(), mac.View()) != query.excluded.end()) {
    return std::nullopt;
  }
  return mac;
}

}  // namespace azu
