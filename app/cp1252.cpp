#include "app/cp1252.h"

#include <array>

namespace azu {
namespace {

// 0x80-0x9F; the five bytes Windows leaves undefined keep their own (C1) value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at `pos`, advancing it past the sequence; nullopt on malformed input
// (overlong forms, surrogates, values past U+10FFFF, truncated or stray continuation bytes).
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;
  int extra = 0;        // continuation bytes that follow
  char32_t min = 0x80;  // smallest value this length may carry
  char32_t cp = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    cp = lead & 0x1FU;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    cp = lead & 0x0FU;
    min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    cp = lead & 0x07U;
    min = 0x10000;
  } else {
    return std::nullopt;
  }
  for (int i = 0; i < extra; ++i) {
    if (pos >= text.size()) return std::nullopt;
    const auto byte = static_cast<unsigned char>(text[pos]);
    if ((byte & 0xC0) != 0x80) return std::nullopt;  // not consumed: it may start the next one
    ++pos;
    cp = (cp << 6) | (byte & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  return cp;
}

std::optional<char> EncodeOne(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    const char32_t byte = 0x80 + i;
    // An undefined byte decodes to its C1 value but no character encodes to it.
    if (kHighControls[i] == cp && cp != byte) return static_cast<char>(byte);
  }
  return std::nullopt;
}

}  // namespace

char16_t Cp1252ToUtf16(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
  return byte;
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
  std::string out;
  out.reserve(cp1252.size());
  for (const char c : cp1252) AppendUtf8(out, Cp1252ToUtf16(static_cast<unsigned char>(c)));
  return out;
}

std::optional<std::string> Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const std::optional<char32_t> cp = NextCodePoint(utf8, pos);
    if (!cp) return std::nullopt;
    const std::optional<char> byte = EncodeOne(*cp);
    if (!byte) return std::nullopt;
    out += *byte;
  }
  return out;
}

std::string Utf8ToCp1252Lossy(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const std::optional<char32_t> cp = NextCodePoint(utf8, pos);
    out += (cp ? EncodeOne(*cp) : std::nullopt).value_or('?');
  }
  return out;
}

}  // namespace azu
