#include "emulator/discovery.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "emulator/discovery_limiter.h"

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

const std::string kKey = "sha256:" + std::string(64, 'e');

TEST(EmulatorDiscovery, TheAnswerNamesAddressNameModelANonZeroNumberAndTheKey) {
  const std::string answer = DiscoveryAnswer({"10.1.2.3", "lab", "QV5020", 7, kKey});
  EXPECT_THAT(Lines(answer), ElementsAre("ZORNE-HERE 1", "address=10.1.2.3", "name=lab",
                                         "model=QV5020", "number=7", "key=" + kKey));
  EXPECT_EQ(answer.back(), '\n');
  EXPECT_THAT(Lines(DiscoveryAnswer({"10.1.2.3", "lab", "QV5020", 0, ""})).back(), "number=1");
  // Without a well-formed fingerprint there is no key line at all.
  for (const std::string& key : {std::string(), std::string("sha256:abc"), kKey + "\nname=fake"}) {
    EXPECT_EQ(Lines(DiscoveryAnswer({"10.1.2.3", "lab", "QV5020", 7, key})).size(), 5u) << key;
  }
}

TEST(EmulatorDiscovery, HostileTextsCannotAddLinesOrOverflowTheAnswer) {
  const std::string answer =
      DiscoveryAnswer({"10.1.2.3\nname=fake", "a\r\nmodel=X\n" + std::string(5000, 'n'),
                       std::string(5000, 'm') + "\n", 4294967295u, kKey});
  const std::vector<std::string> lines = Lines(answer);
  ASSERT_EQ(lines.size(), 6u);
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

TEST(DiscoveryLimiter, AnswersABurstPerAddressThenATrickleWithinATotalCap) {
  using Limits = DiscoveryLimiter::Limits;
  struct Step {
    std::uint32_t address;
    int after_ms;
    bool answered;
  };
  struct Scenario {
    const char* what;
    Limits limits;
    std::vector<Step> steps;
  };
  const Scenario scenarios[] = {
      {"burst 4, then 2 per second, per address",
       Limits{},
       {{1, 0, true},
        {1, 0, true},
        {1, 0, true},
        {1, 0, true},
        {1, 0, false},
        {2, 0, true},
        {1, 500, true},
        {1, 0, false},
        {1, 60000, true},
        {1, 0, true},
        {1, 0, true},
        {1, 0, true},
        {1, 0, false}}},
      {"everyone together",
       Limits{100, 100, 4096, 3},
       {{1, 0, true}, {2, 0, true}, {3, 0, true}, {4, 0, false}, {4, 500, true}, {5, 0, false}}},
      {"the longest unseen address is forgotten",
       Limits{1, 0.001, 2, 1000},
       {{1, 0, true},
        {1, 0, false},
        {2, 0, true},
        {3, 0, true},
        {1, 0, true},
        {3, 0, false},
        {2, 0, true}}},
  };
  for (const Scenario& scenario : scenarios) {
    DiscoveryLimiter limiter(scenario.limits);
    DiscoveryLimiter::TimePoint now{};
    for (std::size_t i = 0; i < scenario.steps.size(); ++i) {
      const Step& step = scenario.steps[i];
      now += std::chrono::milliseconds(step.after_ms);
      EXPECT_EQ(limiter.Allow(step.address, now), step.answered) << scenario.what << ", step " << i;
    }
  }
}

}  // namespace
}  // namespace azu::emulator
