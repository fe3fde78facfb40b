#pragma once
// The two SNMP queries for a printer's MAC: prebuilt GetRequests for ifPhysAddress.1 and .2, and
// the rule that accepts a reply only when it decodes as the agent's answer to that request.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace azu {

// An SNMP query: its request bytes and the MAC texts never recorded from its replies.
struct MacQuery {
  std::span<const std::uint8_t> request;
  std::array<std::string_view, 3> excluded;
};

// GetRequest, version 1, community "cobalt", request-id 1, for ifPhysAddress.1 / .2.
extern const MacQuery kInterface1Query;
extern const MacQuery kInterface2Query;

// MACs that the ARP lookup never records.
inline constexpr std::array<std::string_view, 3> kArpExcluded = {
    "02:01:06:01:04:00", "02:01:06:01:05:00", "00:00:00:00:00:00"};

// A MAC as text, NUL-ended in place (no allocation per reply).
struct MacText {
  std::array<char, 18> text{};
  [[nodiscard]] std::string_view View() const { return {text.data(), 17}; }
};

// Six bytes as "%02x:%02x:%02x:%02x:%02x:%02x".
MacText FormatMac(const std::uint8_t* bytes);

// An SNMP message with one variable binding, as far as the queries look at it. The spans point
// into the decoded bytes.
struct SnmpMessage {
  std::int64_t version = 0;
  std::span<const std::uint8_t> community;
  std::uint8_t pdu = 0;
  std::int64_t requestId = 0;
  std::int64_t errorStatus = 0;
  std::span<const std::uint8_t> oid;
  std::uint8_t valueTag = 0;
  std::span<const std::uint8_t> value;
};

// The message that `bytes` hold, whole and nothing after it; nullopt when it is anything else.
std::optional<SnmpMessage> DecodeSnmpMessage(std::span<const std::uint8_t> bytes);

// The reply rule: the MAC of a GetResponse to `query`'s request (same version, community and
// request-id, error-status 0, one binding of the queried OID whose value is an OCTET STRING of
// six bytes), unless it is one of the query's excluded texts. Anything else gives nullopt.
std::optional<MacText> MacFromReply(const std::uint8_t* reply, int length, const MacQuery& query);

}  // namespace azu
