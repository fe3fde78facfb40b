#include "app/text_format.h"

#include <string_view>

namespace azu {

std::string FormatNumber(const char* text, long long number) {
  if (text == nullptr) return {};
  const std::string_view in(text);
  const std::string digits = std::to_string(number);
  std::string out;
  out.reserve(in.size() + digits.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] == '%' && i + 1 < in.size() && in[i + 1] == 'd') {
      out += digits;
      ++i;
    } else {
      out += in[i];
    }
  }
  return out;
}

std::string FormatTexts(const char* text, const std::vector<std::string_view>& values) {
  if (text == nullptr) return {};
  const std::string_view in(text);
  std::string out;
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] == '%' && i + 1 < in.size() && in[i + 1] >= '1' && in[i + 1] <= '9') {
      const auto index = static_cast<std::size_t>(in[i + 1] - '1');
      if (index < values.size()) {
        out += values[index];
        ++i;
        continue;
      }
    }
    out += in[i];
  }
  return out;
}

}  // namespace azu
