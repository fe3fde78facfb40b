// libFuzzer driver: any datagram a network can deliver as an SNMP reply, judged by both queries'
// reply rule.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

#include "attach/snmp_queries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > static_cast<std::size_t>(std::numeric_limits<int>::max())) return 0;
  for (const azu::MacQuery* query : {&azu::kInterface1Query, &azu::kInterface2Query}) {
    const auto mac = azu::MacFromReply(data, static_cast<int>(size), *query);
    if (size < 7 && mac) __builtin_trap();
    if (mac) {
      const std::string_view text = mac->View();
      if (text.size() != 17 || text[2] != ':' || text[14] != ':') __builtin_trap();
      for (const std::string_view excluded : query->excluded) {
        if (text == excluded) __builtin_trap();
      }
    }
  }
  return 0;
}
