#include "app/cp1252.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace azu {
namespace {

constexpr unsigned char kUndefined[] = {0x81, 0x8D, 0x8F, 0x90, 0x9D};

bool IsUndefined(unsigned byte) {
  return std::ranges::find(kUndefined, byte) != std::end(kUndefined);
}

TEST(Cp1252, DecodesTheWindowsRangeAndLatin1) {
  EXPECT_EQ(Cp1252ToUtf16(0x80), u'\u20AC');
  EXPECT_EQ(Cp1252ToUtf16(0x8A), u'\u0160');
  EXPECT_EQ(Cp1252ToUtf16(0x92), u'\u2019');
  EXPECT_EQ(Cp1252ToUtf16(0x9F), u'\u0178');
  EXPECT_EQ(Cp1252ToUtf16(0xA0), u'\u00A0');
  EXPECT_EQ(Cp1252ToUtf16(0xE9), u'\u00E9');
  EXPECT_EQ(Cp1252ToUtf16(0xFF), u'\u00FF');
  EXPECT_EQ(Cp1252ToUtf16('A'), u'A');
  EXPECT_EQ(Cp1252ToUtf8("Schlie\xDF"
                         "en \x80"),
            "Schlie\xC3\x9F"
            "en \xE2\x82\xAC");
}

TEST(Cp1252, EveryDefinedByteSurvivesARoundTrip) {
  std::string all;
  for (unsigned byte = 0; byte <= 0xFF; ++byte) {
    if (IsUndefined(byte)) continue;
    const std::string one(1, static_cast<char>(byte));
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << "byte " << byte;
    all += one;
  }
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, UndefinedBytesDecodeToC1ButNothingEncodesToThem) {
  for (const unsigned char byte : kUndefined) {
    EXPECT_EQ(Cp1252ToUtf16(byte), char16_t{byte});
    const std::string decoded = Cp1252ToUtf8(std::string(1, static_cast<char>(byte)));
    EXPECT_EQ(decoded.size(), 2u);
    EXPECT_EQ(Utf8ToCp1252(decoded), std::nullopt) << "byte " << unsigned{byte};
  }
}

TEST(Cp1252, RefusesCharactersOutsideTheCodePage) {
  EXPECT_EQ(Utf8ToCp1252("\xE6\x97\xA5"), std::nullopt);      // U+65E5
  EXPECT_EQ(Utf8ToCp1252("a\xC4\x80"), std::nullopt);         // U+0100
  EXPECT_EQ(Utf8ToCp1252("\xC2\x80"), std::nullopt);          // U+0080, not the euro
  EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80"), std::nullopt);  // U+1F600
}

TEST(Cp1252, RefusesMalformedUtf8) {
  for (const char* bad : {"\xC3", "\x80", "a\xC3(", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80",
                          "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\xFF"}) {
    EXPECT_EQ(Utf8ToCp1252(bad), std::nullopt) << bad;
  }
}

TEST(Cp1252, LossyConversionMarksEachCharacterItCannotKeep) {
  const struct {
    const char* utf8;
    const char* cp1252;
  } cases[] = {
      {"B\xC3\xBCro", "B\xFCro"},
      {"\xE2\x82\xAC", "\x80"},
      {"\xE6\x97\xA5\xE6\x9C\xAC", "??"},  // U+65E5 U+672C
      {"a\xFF"
       "b",
       "a?b"},
      {"a\xC3(", "a?("},  // the byte after a broken sequence is kept
      {"ab\xE2\x82", "ab?"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToCp1252Lossy(c.utf8), c.cp1252) << c.utf8;
}

}  // namespace
}  // namespace azu
