#pragma once
// The two SNMP queries for a printer's MAC: prebuilt GetRequests for ifPhysAddress.1 and .2, and
// the rule that takes a MAC from the end of a reply without decoding it.

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

// The reply rule: a reply of at least 7 bytes gives the MAC of its last six bytes, unless that
// is one of `query`'s excluded texts (an interface without an address, or an agent echoing the
// request's binding with an empty value).
std::optional<MacText> MacFromReply(const std::uint8_t* reply, int length, const MacQuery& query);

}  // namespace azu
