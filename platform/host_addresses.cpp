#include "platform/host_addresses.h"

#include <cstdio>

namespace azu::platform {

std::string DottedText(const Ipv4Address& address) {
  char text[16];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", address[0], address[1], address[2], address[3]);
  return text;
}

}  // namespace azu::platform
