#include "emulator/form.h"

namespace azu::emulator {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> Decode(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      decoded.push_back(' ');
    } else if (text[i] != '%') {
      decoded.push_back(text[i]);
    } else {
      if (i + 2 >= text.size()) return std::nullopt;
      const int high = HexValue(text[i + 1]);
      const int low = HexValue(text[i + 2]);
      if (high < 0 || low < 0) return std::nullopt;
      decoded.push_back(static_cast<char>(high * 16 + low));
      i += 2;
    }
  }
  return decoded;
}

}  // namespace

std::optional<std::map<std::string, std::string>> ParseForm(std::string_view text) {
  std::map<std::string, std::string> fields;
  if (text.empty()) return fields;
  while (true) {
    const std::size_t amp = text.find('&');
    const std::string_view pair = text.substr(0, amp);
    const std::size_t equals = pair.find('=');
    if (equals == std::string_view::npos || equals == 0) return std::nullopt;
    std::optional<std::string> name = Decode(pair.substr(0, equals));
    std::optional<std::string> value = Decode(pair.substr(equals + 1));
    if (!name || !value || name->empty()) return std::nullopt;
    if (!fields.emplace(std::move(*name), std::move(*value)).second) return std::nullopt;
    if (amp == std::string_view::npos) break;
    text.remove_prefix(amp + 1);
  }
  return fields;
}

}  // namespace azu::emulator
