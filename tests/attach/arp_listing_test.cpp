// The two ARP cache listings read on sample texts: `arp.exe -a` as Windows prints it, and the
// Linux kernel's /proc/net/arp.

#include "platform/arp_listing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace azu::platform {
namespace {

using Found = std::vector<std::pair<std::string, std::string>>;

Found FromListing(std::string_view listing, std::string_view address) {
  Found found;
  ParseArpListing(listing, address, [&](std::string_view interface, std::string_view hardware) {
    found.emplace_back(interface, hardware);
    return true;
  });
  return found;
}

constexpr std::string_view kTwoInterfaces =
    "\r\n"
    "Interface: 198.51.100.2 --- 0x4\r\n"
    "  Internet Address      Physical Address      Type\r\n"
    "  198.51.100.1          00-10-20-30-40-50     dynamic   \r\n"
    "  100.100.100.101       aa-bb-cc-dd-ee-01     dynamic   \r\n"
    "  255.255.255.255       ff-ff-ff-ff-ff-ff     static    \r\n"
    "\r\n"
    "Interface: 100.100.100.102 --- 0xb\r\n"
    "  Internet Address      Physical Address      Type\r\n"
    "  100.100.100.101       00-1b-2c-3d-4e-5f     dynamic   \r\n";

TEST(ArpListing, ReportsTheAddressUnderEachInterfaceThatHasIt) {
  EXPECT_EQ(
      FromListing(kTwoInterfaces, "100.100.100.101"),
      (Found{{"198.51.100.2", "aa-bb-cc-dd-ee-01"}, {"100.100.100.102", "00-1b-2c-3d-4e-5f"}}));
  EXPECT_EQ(FromListing(kTwoInterfaces, "198.51.100.1"),
            (Found{{"198.51.100.2", "00-10-20-30-40-50"}}));
  EXPECT_TRUE(FromListing(kTwoInterfaces, "100.100.100.10").empty());  // exact match only
}

TEST(ArpListing, EmptyCacheEndsTheListing) {
  EXPECT_TRUE(FromListing("No ARP Entries Found.\r\n", "100.100.100.101").empty());
  // Whatever follows a line starting with "No" (any case) is not read.
  EXPECT_TRUE(
      FromListing("NO entries\n100.100.100.101 00-1b-2c-3d-4e-5f\n", "100.100.100.101").empty());
}

TEST(ArpListing, AddressBeforeAnyInterfaceHasNoLocalAddress) {
  EXPECT_EQ(FromListing("100.100.100.101 00-1b-2c-3d-4e-5f dynamic\n", "100.100.100.101"),
            (Found{{"", "00-1b-2c-3d-4e-5f"}}));
}

TEST(ArpListing, SplitsAtSpacesOnlySoTabsAndLineEndsStayInTokens) {
  // A tab does not separate; the end of the line belongs to the last token.
  EXPECT_TRUE(FromListing("100.100.100.101\t00-1b-2c-3d-4e-5f\n", "100.100.100.101").empty());
  EXPECT_EQ(FromListing("100.100.100.101 00-1b-2c-3d-4e-5f\n", "100.100.100.101"),
            (Found{{"", "00-1b-2c-3d-4e-5f\n"}}));
  EXPECT_EQ(
      FromListing("Interface: 10.0.0.5\n100.100.100.101 aa-bb-cc-dd-ee-ff x\n", "100.100.100.101"),
      (Found{{"10.0.0.5\n", "aa-bb-cc-dd-ee-ff"}}));
  // An address line without a second column gives nothing.
  EXPECT_TRUE(FromListing("100.100.100.101\n", "100.100.100.101\n").empty());
}

TEST(ArpListing, ReadsALongLineInPiecesOf99Characters) {
  // 99 characters of padding: the address starts the second piece and is read as a line.
  const std::string padding = "x" + std::string(98, ' ');
  const std::string listing = padding + "100.100.100.101 00-1b-2c-3d-4e-5f dynamic\n";
  EXPECT_EQ(FromListing(listing, "100.100.100.101"), (Found{{"", "00-1b-2c-3d-4e-5f"}}));
  // A first piece of only spaces has no first token and ends the listing, as an empty cache.
  const std::string spaces = std::string(99, ' ') + "100.100.100.101 00-1b-2c-3d-4e-5f\n";
  EXPECT_TRUE(FromListing(spaces, "100.100.100.101").empty());
  // An empty line is a line with only its end, not an end of the listing.
  EXPECT_EQ(FromListing("\n\n100.100.100.101 00-1b-2c-3d-4e-5f x\n", "100.100.100.101").size(), 1U);
}

TEST(ArpListing, VisitorCanStopTheReading) {
  int calls = 0;
  ParseArpListing(kTwoInterfaces, "100.100.100.101", [&](std::string_view, std::string_view) {
    ++calls;
    return false;
  });
  EXPECT_EQ(calls, 1);
}

constexpr std::string_view kProcNetArp =
    "IP address       HW type     Flags       HW address            Mask     Device\n"
    "100.100.100.101  0x1         0x0         00:00:00:00:00:00     *        direct0\n"
    "198.51.100.1     0x1         0x2         00:10:20:30:40:50     *        site0\n"
    "100.100.100.101  0x1         0x2         00:1b:2c:3d:4e:5f     *        direct0\n"
    "100.100.100.101  0x1         0x6         aa:bb:cc:dd:ee:01     *        site0\n";

TEST(ProcNetArp, ReportsCompleteEntriesWithTheirDevicesAddress) {
  Found found;
  ParseProcNetArp(
      kProcNetArp, "100.100.100.101",
      [](std::string_view device) {
        return device == "direct0" ? std::string("100.100.100.102") : std::string("198.51.100.2");
      },
      [&](std::string_view interface, std::string_view hardware) {
        found.emplace_back(interface, hardware);
        return true;
      });
  EXPECT_EQ(found, (Found{{"100.100.100.102", "00:1b:2c:3d:4e:5f"},
                          {"198.51.100.2", "aa:bb:cc:dd:ee:01"}}));
}

TEST(ProcNetArp, IgnoresTheHeaderAndShortLines) {
  int calls = 0;
  ParseProcNetArp(
      "100.100.100.101 0x1 0x2 00:1b:2c:3d:4e:5f * eth0\n100.100.100.101 0x1 0x2\n",
      "100.100.100.101", [](std::string_view) { return std::string(); },
      [&](std::string_view, std::string_view) {
        ++calls;
        return true;
      });
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace azu::platform
