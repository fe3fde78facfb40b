#include "framework/ipv4_text.h"

#include <gtest/gtest.h>

namespace azu {
namespace {

TEST(IPv4Text, TakesOnlyFourDecimalOctets) {
  EXPECT_EQ(ParseIPv4Strict("10.1.2.3"), 0x0A010203U);
  EXPECT_EQ(ParseIPv4Strict("0.0.0.0"), 0U);
  EXPECT_EQ(ParseIPv4Strict("255.255.255.255"), 0xFFFFFFFFU);
  EXPECT_EQ(ParseIPv4Strict("100.100.100.101"), 0x64646465U);
}

TEST(IPv4Text, RefusesEveryLooseForm) {
  for (const char* text :
       {"", "1.2.3", "1.2.3.4.5", "10.1", "167772161",  // short forms
        "010.1.2.3", "1.02.3.4", "00.0.0.0",            // octal look-alikes
        "0x0A.1.2.3", "256.1.1.1", "1.2.3.999",         // hex, range
        " 1.2.3.4", "1.2.3.4 ", "1..2.3", "1.2.3.", ".1.2.3", "1.2.3.4a", "-1.2.3.4", "1.2.3.+4"}) {
    EXPECT_FALSE(ParseIPv4Strict(text).has_value()) << text;
  }
}

TEST(IPv4Text, FormatsWithoutLeadingZerosAndRoundTrips) {
  EXPECT_EQ(FormatIPv4(0x0A000005U), "10.0.0.5");
  EXPECT_EQ(FormatIPv4(0xFFFFFFFFU), "255.255.255.255");
  for (const std::uint32_t address : {0U, 0x7F000001U, 0xC0A80164U, 0xFFFFFF00U}) {
    EXPECT_EQ(ParseIPv4Strict(FormatIPv4(address)), address);
  }
}

}  // namespace
}  // namespace azu
