#pragma once
// Comparing ASCII words (command-line arguments, model codes, configuration keys) without regard
// to the case of the letters A-Z; every other byte must match exactly.

#include <cstddef>
#include <string_view>

namespace azu::platform {

constexpr char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace azu::platform
