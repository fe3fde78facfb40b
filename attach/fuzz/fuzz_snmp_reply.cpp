// libFuzzer driver: any datagram a network can deliver as an SNMP reply, decoded and judged by
// both queries' reply rule. An accepted reply is a whole message whose last six bytes are the
// MAC, and never one of the query's excluded texts.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

#include "attach/snmp_queries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > static_cast<std::size_t>(std::numeric_limits<int>::max())) return 0;
  const auto message = azu::DecodeSnmpMessage({data, size});
  if (message && (message->value.data() + message->value.size() != data + size)) {
    __builtin_trap();  // the value is the last element, so it must end the datagram
  }
  for (const azu::MacQuery* query : {&azu::kInterface1Query, &azu::kInterface2Query}) {
    const auto mac = azu::MacFromReply(data, static_cast<int>(size), *query);
    if (!mac) continue;
    if (!message || size < 6 || mac->View() != azu::FormatMac(data + size - 6).View()) {
      __builtin_trap();
    }
    for (const std::string_view excluded : query->excluded) {
      if (mac->View() == excluded) __builtin_trap();
    }
  }
  return 0;
}
