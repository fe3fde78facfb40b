#include "emulator/discovery.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

namespace azu::emulator {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(EmulatorDiscovery, OnlyTheExactRequestIsAnswered) {
  using namespace std::string_view_literals;
  EXPECT_TRUE(IsDiscoveryRequest("ZORNE-DISCOVER 1\n"));
  for (const std::string_view other :
       {""sv, "ZORNE-DISCOVER 1"sv, "ZORNE-DISCOVER 1\r\n"sv, "ZORNE-DISCOVER 1\n\n"sv,
        "ZORNE-DISCOVER 2\n"sv, "zorne-discover 1\n"sv, " ZORNE-DISCOVER 1\n"sv,
        "ZORNE-DISCOVER 1\n\0"sv, "ZORNE-HERE 1\n"sv, "\0\0\0\0"sv}) {
    EXPECT_FALSE(IsDiscoveryRequest(other)) << other;
  }
}

TEST(EmulatorDiscovery, TheAnswerNamesAddressNameModelAndANonZeroNumber) {
  const std::string answer = DiscoveryAnswer({"10.1.2.3", "lab", "QV5020", 7});
  EXPECT_THAT(Lines(answer), ElementsAre("ZORNE-HERE 1", "address=10.1.2.3", "name=lab",
                                         "model=QV5020", "number=7"));
  EXPECT_EQ(answer.back(), '\n');
  EXPECT_THAT(Lines(DiscoveryAnswer({"10.1.2.3", "lab", "QV5020", 0})).back(), "number=1");
}

TEST(EmulatorDiscovery, HostileTextsCannotAddLinesOrOverflowTheAnswer) {
  const std::string answer =
      DiscoveryAnswer({"10.1.2.3\nname=fake", "a\r\nmodel=X\n" + std::string(5000, 'n'),
                       std::string(5000, 'm') + "\n", 1});
  const std::vector<std::string> lines = Lines(answer);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[1], "address=10.1.2.3name=fake");
  EXPECT_TRUE(lines[2].starts_with("name=amodel=Xnnn"));
  EXPECT_LE(answer.size(), kMaxDiscoveryAnswer);
}

TEST(EmulatorDiscovery, IdentityTextsAreShortAndPrintable) {
  EXPECT_TRUE(IsValidIdentityText("Azu Lab 3"));
  EXPECT_TRUE(IsValidIdentityText("B\xC3\xBCro"));
  EXPECT_TRUE(IsValidIdentityText(std::string(255, 'x')));
  EXPECT_FALSE(IsValidIdentityText(""));
  EXPECT_FALSE(IsValidIdentityText(std::string(256, 'x')));
  EXPECT_FALSE(IsValidIdentityText("two\nlines"));
  EXPECT_FALSE(IsValidIdentityText("tab\there"));
}

}  // namespace
}  // namespace azu::emulator
