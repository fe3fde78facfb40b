#include "attach/snmp_queries.h"

#include <algorithm>
#include <cstdio>

#include "attach/ber_reader.h"

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

constexpr std::size_t kMacLength = 6;

bool SameBytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

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

std::optional<SnmpMessage> DecodeSnmpMessage(std::span<const std::uint8_t> bytes) {
  BerReader datagram(bytes);
  const auto message = datagram.Next(ber::kSequence);
  if (!message || !datagram.AtEnd()) return std::nullopt;
  BerReader fields(*message);
  SnmpMessage decoded;
  const auto version = fields.NextInteger();
  const auto community = fields.Next(ber::kOctetString);
  const auto pduTag = fields.PeekTag();
  if (!version || !community || !pduTag) return std::nullopt;
  const auto pdu = fields.Next(*pduTag);
  if (!pdu || !fields.AtEnd()) return std::nullopt;
  BerReader pduFields(*pdu);
  const auto requestId = pduFields.NextInteger();
  const auto errorStatus = pduFields.NextInteger();
  const auto errorIndex = pduFields.NextInteger();
  const auto bindings = pduFields.Next(ber::kSequence);
  if (!requestId || !errorStatus || !errorIndex || !bindings || !pduFields.AtEnd()) {
    return std::nullopt;
  }
  BerReader bindingList(*bindings);
  const auto binding = bindingList.Next(ber::kSequence);
  if (!binding || !bindingList.AtEnd()) return std::nullopt;  // exactly one binding
  BerReader bindingFields(*binding);
  const auto oid = bindingFields.Next(ber::kObjectIdentifier);
  const auto valueTag = bindingFields.PeekTag();
  if (!oid || !valueTag) return std::nullopt;
  const auto value = bindingFields.Next(*valueTag);
  if (!value || !bindingFields.AtEnd()) return std::nullopt;
  decoded.version = *version;
  decoded.community = *community;
  decoded.pdu = *pduTag;
  decoded.requestId = *requestId;
  decoded.errorStatus = *errorStatus;
  decoded.oid = *oid;
  decoded.valueTag = *valueTag;
  decoded.value = *value;
  return decoded;
}

std::optional<MacText> MacFromReply(const std::uint8_t* reply, int length, const MacQuery& query) {
  if (reply == nullptr || length <= 0) return std::nullopt;
  const auto answer = DecodeSnmpMessage({reply, static_cast<std::size_t>(length)});
  const auto asked = DecodeSnmpMessage(query.request);
  if (!answer || !asked) return std::nullopt;
  if (answer->pdu != ber::kGetResponse || answer->version != asked->version ||
      !SameBytes(answer->community, asked->community) || answer->requestId != asked->requestId ||
      answer->errorStatus != 0 || !SameBytes(answer->oid, asked->oid) ||
      answer->valueTag != ber::kOctetString || answer->value.size() != kMacLength) {
    return std::nullopt;
  }
  const MacText mac = FormatMac(answer->value.data());
  if (std::find(query.excluded.begin(), query.excluded.end(), mac.View()) != query.excluded.end()) {
    return std::nullopt;
  }
  return mac;
}

}  // namespace azu
