// Splitting discovered-server entries and finding the server's own address among them.

#include "rules/server_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace azu {
namespace {

TEST(SplitServerEntry, GivesAddressAndNameUpToTheParenthesis) {
  const auto parts = SplitServerEntry("10.0.0.5 zorne1(QV5010)");
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->address, "10.0.0.5");
  EXPECT_EQ(parts->name, "zorne1");
  // Blanks after the first are skipped; those before the parenthesis belong to the name.
  const auto spaced = SplitServerEntry("10.0.0.5  \tmy zorne (QV5010)");
  ASSERT_TRUE(spaced);
  EXPECT_EQ(spaced->name, "my zorne ");
  const auto bare = SplitServerEntry("10.0.0.5 zorne1");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->name, "zorne1");
}

TEST(SplitServerEntry, EntriesMissingAPartAreNotSplit) {
  for (const char* entry : {"", "10.0.0.5", "10.0.0.5 ", "10.0.0.5 (QV5010)", " zorne1(QV5010)",
                            "10.0.0.5   (QV5010)"}) {
    EXPECT_FALSE(SplitServerEntry(entry)) << '"' << entry << '"';
  }
  EXPECT_FALSE(SplitServerEntry(std::string("10.0.0.5\0 zorne1(QV5010)", 24)));
}

TEST(SplitServerEntry, LongPartsAreReadWholeWithoutOverrun) {
  const std::string name(255, 'n');  // the longest name discovery gives
  const std::string address(300, '1');
  const std::string entry = address + " " + name + "(" + std::string(255, 'm') + ")";
  const auto parts = SplitServerEntry(entry);
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->address, address);
  EXPECT_EQ(parts->name, name);
}

TEST(IsServerAddress, MatchesTheServerByNameInAnyCaseOrByItsExactAddress) {
  const std::vector<std::string> servers{"10.0.0.9 other(QV5010)", "10.0.0.5 Zorne1(QV5010)"};
  EXPECT_TRUE(IsServerAddress(servers, "ZORNE1", "10.0.0.5"));
  EXPECT_TRUE(IsServerAddress(servers, "10.0.0.5", "10.0.0.5"));
  EXPECT_FALSE(IsServerAddress(servers, "zorne1", "10.0.0.9"));  // another server's address
  EXPECT_FALSE(IsServerAddress(servers, "zorne2", "10.0.0.5"));  // not the server configured
  EXPECT_FALSE(IsServerAddress(servers, "zorne1", "10.0.0.50"));
  EXPECT_FALSE(IsServerAddress({}, "zorne1", "10.0.0.5"));
}

TEST(IsServerAddress, LongServerNamesStillMatch) {
  const std::string name(200, 'z');
  const std::vector<std::string> servers{"10.0.0.5 " + name + "(QV5010)"};
  EXPECT_TRUE(IsServerAddress(servers, std::string(200, 'Z'), "10.0.0.5"));
}

}  // namespace
}  // namespace azu
