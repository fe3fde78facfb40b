#pragma once
// Strict dotted IPv4 text: exactly four decimal octets 0-255, no leading zeros (no octal), no
// short forms ("1.2.3"), no hexadecimal, no blanks.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace azu {

// The address with the first octet in the highest byte, or nullopt when the text is not strict.
std::optional<std::uint32_t> ParseIPv4Strict(std::string_view text);

// "a.b.c.d" for an address with the first octet in the highest byte.
std::string FormatIPv4(std::uint32_t address);

}  // namespace azu
