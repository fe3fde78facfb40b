#include "vireo/url_encoding.h"

namespace azu::vireo {
namespace {

bool IsUnreserved(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~' || c == '/';
}

}  // namespace

std::string PercentEncode(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsUnreserved(byte)) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0FU];
    }
  }
  return encoded;
}

std::string FormEncode(const std::vector<std::pair<std::string_view, std::string_view>>& fields) {
  std::string body;
  for (const auto& [name, value] : fields) {
    if (!body.empty()) {
      body += '&';
    }
    body += PercentEncode(name);
    body += '=';
    body += PercentEncode(value);
  }
  return body;
}

}  // namespace azu::vireo
