#include "platform/ascii_case.h"

#include <gtest/gtest.h>

#include <string_view>

namespace azu::platform {
namespace {

TEST(AsciiCase, OnlyTheLettersAToZFoldTogether) {
  const struct {
    std::string_view a;
    std::string_view b;
    bool same;
  } cases[] = {
      {"printerip", "PrInTeRiP", true},
      {"QV5010", "qv5010", true},
      {"", "", true},
      {"key", "key ", false},
      {"ke", "key", false},
      {"@[\\]^_", "`{|}~\x7F", false},  // 0x20 apart like the letters, yet not letters
      {"\xC9", "\xE9", false},          // Windows-1252 letters are not ASCII
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EqualsIgnoringAsciiCase(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(EqualsIgnoringAsciiCase(c.b, c.a), c.same) << c.b << " / " << c.a;
  }
}

}  // namespace
}  // namespace azu::platform
