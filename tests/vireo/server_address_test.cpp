#include "vireo/server_address.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "vireo/settings.h"

namespace azu::vireo {
namespace {

TEST(VireoServerAddress, TakesHostAndOptionalPort) {
  EXPECT_EQ(ParseServerAddress("zorne1", 9631), (ServerAddress{"zorne1", 9631}));
  EXPECT_EQ(ParseServerAddress("10.1.2.3", 4000), (ServerAddress{"10.1.2.3", 4000}));
  EXPECT_EQ(ParseServerAddress("127.0.0.1:40123", 9631), (ServerAddress{"127.0.0.1", 40123}));
  EXPECT_EQ(ParseServerAddress("print-srv_2.lab:1", 9631), (ServerAddress{"print-srv_2.lab", 1}));
  EXPECT_EQ(ParseServerAddress("localhost:65535", 9631), (ServerAddress{"localhost", 65535}));
}

TEST(VireoServerAddress, RefusesGarbage) {
  for (const char* text : {"", ":9631", "host:", "host:0", "host:65536", "host:12ab", "host:-1",
                           "host:+80", "host: 80", " host", "ho st", "host:80:81", "::1",
                           "[::1]:80", "host/path", "http://host", "h\xC3\xA9te", "host\n"}) {
    EXPECT_EQ(ParseServerAddress(text, 9631), std::nullopt) << text;
  }
  EXPECT_EQ(ParseServerAddress(std::string(254, 'a'), 9631), std::nullopt);
  EXPECT_NE(ParseServerAddress(std::string(253, 'a'), 9631), std::nullopt);
}

TEST(VireoServerAddress, ReadsAndWritesDottedIpv4) {
  EXPECT_EQ(ParseIpv4("127.0.0.2"), 0x7F000002U);
  EXPECT_EQ(ParseIpv4("255.255.255.255"), 0xFFFFFFFFU);
  EXPECT_EQ(ParseIpv4("0.0.0.0"), 0U);
  for (const char* text : {"", "1.2.3", "1.2.3.4.", "1.2.3.4.5", "256.1.1.1", "1..2.3", "01.2.3.4",
                           "1.2.3.-4", "a.b.c.d", " 1.2.3.4", "1.2.3.4 ", "localhost"}) {
    EXPECT_EQ(ParseIpv4(text), std::nullopt) << text;
  }
  EXPECT_EQ(FormatIpv4(0x0A010203U), "10.1.2.3");
  EXPECT_EQ(FormatIpv4(0xFFFFFFFFU), "255.255.255.255");
  EXPECT_EQ(FormatIpv4(0U), "0.0.0.0");
}

TEST(VireoSettings, PortComesFromTheSettingElse9631) {
  EXPECT_EQ(DefaultPortFrom(nullptr), 9631);
  EXPECT_EQ(DefaultPortFrom(""), 9631);
  EXPECT_EQ(DefaultPortFrom("40000"), 40000);
  EXPECT_EQ(DefaultPortFrom("0"), std::nullopt);
  EXPECT_EQ(DefaultPortFrom("port"), std::nullopt);
  EXPECT_EQ(DefaultPortFrom("70000"), std::nullopt);
}

TEST(VireoSettings, DiscoveryTargetsDefaultToBroadcastOnlyWhenUnset) {
  using Targets = std::vector<Ipv4Endpoint>;
  EXPECT_EQ(DiscoveryTargetsFrom(nullptr, 9631), (Targets{{0xFFFFFFFFU, 9631}}));
  EXPECT_EQ(DiscoveryTargetsFrom("127.0.0.2,127.0.0.3:5000 , 127.0.0.4", 7000),
            (Targets{{0x7F000002U, 7000}, {0x7F000003U, 5000}, {0x7F000004U, 7000}}));
  // A set but unusable value must not fall back to the broadcast.
  for (const char* text : {"", " ", "127.0.0.2,", ",127.0.0.2", "127.0.0.2,,127.0.0.3", "localhost",
                           "127.0.0.2:0", "127.0.0.2;127.0.0.3", "10.0.0.1/8"}) {
    EXPECT_EQ(DiscoveryTargetsFrom(text, 9631), std::nullopt) << text;
  }
}

}  // namespace
}  // namespace azu::vireo
