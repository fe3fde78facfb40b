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

}  // namespace azu
