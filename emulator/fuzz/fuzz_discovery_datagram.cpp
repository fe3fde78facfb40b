// Arbitrary datagrams and identity texts into the discovery parser and answer builder, and
// into the escaping that puts a refused datagram into the log.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "emulator/discovery.h"
#include "emulator/event_log.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace azu::emulator;
  const std::string_view datagram(reinterpret_cast<const char*>(data), size);
  if (IsDiscoveryRequest(datagram) != (datagram == kDiscoveryRequest)) __builtin_trap();

  for (const char c : EscapeForLog(datagram)) {
    if (c <= ' ' || c > '~' || c == '=') __builtin_trap();
  }

  // The same bytes as hostile texts of an identity: address, name and model split at NULs.
  ServerIdentity identity;
  std::string* parts[] = {&identity.address, &identity.name, &identity.model};
  std::size_t part = 0;
  for (const char c : datagram) {
    if (c == '\0' && part < 2) {
      ++part;
    } else {
      parts[part]->push_back(c);
    }
  }
  identity.number = size > 4 ? static_cast<std::uint32_t>(data[0]) << 8 | data[1] : 0;
  const std::string answer = DiscoveryAnswer(identity);
  std::size_t lines = 0;
  for (const char c : answer) {
    if (c == '\n') {
      ++lines;
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      __builtin_trap();
    }
  }
  if (lines != 5 || answer.size() > kMaxDiscoveryAnswer || !answer.starts_with("ZORNE-HERE 1\n") ||
      answer.find("\nnumber=0\n") != std::string::npos) {
    __builtin_trap();
  }
  return 0;
}
