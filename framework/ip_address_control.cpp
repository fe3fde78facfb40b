// What the address control's text is, the same on every back end.

#include "framework/ip_address_control.h"

#include "framework/ipv4_text.h"

namespace azu {

std::string IpAddressControl::Text() const {
  return FormatIPv4(Address());
}

bool IpAddressControl::SetText(std::string_view text) {
  const auto address = ParseIPv4Strict(text);
  if (!address) return false;
  SetAddress(*address);
  return true;
}

}  // namespace azu
