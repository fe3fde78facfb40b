#include "emulator/form.h"

#include <gtest/gtest.h>

namespace azu::emulator {
namespace {

using Fields = std::map<std::string, std::string>;

TEST(EmulatorForm, DecodesPairsOnce) {
  EXPECT_EQ(ParseForm(""), Fields{});
  EXPECT_EQ(ParseForm("user=admin&password=RONDEL"),
            (Fields{{"user", "admin"}, {"password", "RONDEL"}}));
  EXPECT_EQ(ParseForm("a=x+y%20z&b=&c=%3D%26%25"),
            (Fields{{"a", "x y z"}, {"b", ""}, {"c", "=&%"}}));
  EXPECT_EQ(ParseForm("v=%2541"), (Fields{{"v", "%41"}}));  // decoded once only
  EXPECT_EQ(ParseForm("v=a=b"), (Fields{{"v", "a=b"}}));
  EXPECT_EQ(ParseForm("v=%00%ff"), (Fields{{"v", std::string("\0\xFF", 2)}}));
}

TEST(EmulatorForm, RefusesMalformedOrAmbiguousText) {
  for (const char* text :
       {"a", "=x", "a=1&", "&a=1", "a=1&&b=2", "a=%", "a=%4", "a=%4g", "a=%g4", "a=1&a=2", "%=1"}) {
    EXPECT_EQ(ParseForm(text), std::nullopt) << text;
  }
}

}  // namespace
}  // namespace azu::emulator
