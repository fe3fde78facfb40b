#pragma once
// Windows-1252, the single-byte encoding of the text table and of every text the program shows.

#include <optional>
#include <string>
#include <string_view>

namespace azu {

// The UTF-16 code unit of one Windows-1252 byte. Bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value, as Windows does.
char16_t Cp1252ToUtf16(unsigned char byte);

// Whole-text conversions. Utf8ToCp1252 gives nullopt when the input is not valid UTF-8 or a
// character has no Windows-1252 byte.
std::string Cp1252ToUtf8(std::string_view cp1252);
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);

// For texts from outside that must still be shown: each character without a Windows-1252 byte
// and each malformed UTF-8 sequence becomes one '?'.
std::string Utf8ToCp1252Lossy(std::string_view utf8);

}  // namespace azu
