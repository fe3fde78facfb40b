#include "vireo/discovery_answer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "vireo/discovery_results.h"

namespace azu::vireo {
namespace {

const std::string kAnswer =
    "ZORNE-HERE 1\naddress=127.0.0.2:9631\nname=lab\nmodel=QV5020\nnumber=7\n";
const std::string kKeyA = "sha256:" + std::string(64, 'a');
const std::string kKeyB = "sha256:" + std::string(64, 'b');

TEST(VireoDiscoveryAnswer, ReadsAWellFormedAnswer) {
  EXPECT_EQ(ParseDiscoveryAnswer(kAnswer), (DiscoveryAnswer{"lab", "QV5020", 7}));
  // Without the last line end, in another order, with a key of a later version, UTF-8 name.
  EXPECT_EQ(ParseDiscoveryAnswer("ZORNE-HERE 1\nnumber=4294967295\nmodel=QV4010\nrack=B\n"
                                 "name=Drucker M\xC3\xBC"
                                 "nchen\naddress=0.0.0.0:1"),
            (DiscoveryAnswer{"Drucker M\xC3\xBCnchen", "QV4010", 4294967295U}));
  EXPECT_EQ(ParseDiscoveryAnswer("ZORNE-HERE 1\naddress=a\nname=a=b\nmodel=m\nnumber=1")->name,
            "a=b");
}

TEST(VireoDiscoveryAnswer, ReadsTheKeyLineWhenThereIsOne) {
  EXPECT_EQ(ParseDiscoveryAnswer(kAnswer + "key=" + kKeyA + "\n"),
            (DiscoveryAnswer{"lab", "QV5020", 7, kKeyA}));
  EXPECT_EQ(ParseDiscoveryAnswer(kAnswer)->key, "");
}

TEST(VireoDiscoveryAnswer, RefusesMalformedAnswers) {
  const char* const malformed[] = {
      "",
      "ZORNE-HERE 1\n",
      "ZORNE-DISCOVER 1\n",
      "ZORNE-HERE 2\naddress=a\nname=lab\nmodel=QV5020\nnumber=7\n",
      "zorne-here 1\naddress=a\nname=lab\nmodel=QV5020\nnumber=7\n",
      "ZORNE-HERE 1\r\naddress=a\r\nname=lab\r\nmodel=QV5020\r\nnumber=7\r\n",
      "ZORNE-HERE 1\nname=lab\nmodel=QV5020\nnumber=7\n",            // no address
      "ZORNE-HERE 1\naddress=\nname=lab\nmodel=QV5020\nnumber=7\n",  // empty address
      "ZORNE-HERE 1\naddress=a\naddress=b\nname=lab\nmodel=QV5020\nnumber=7\n",
      "ZORNE-HERE 1\naddress=a\nmodel=QV5020\nnumber=7\n",            // no name
      "ZORNE-HERE 1\naddress=a\nname=lab\nnumber=7\n",                // no model
      "ZORNE-HERE 1\naddress=a\nname=lab\nmodel=QV5020\n",            // no number
      "ZORNE-HERE 1\naddress=a\nname=lab\nmodel=QV5020\nnumber=0\n",  // skipped entry
      "ZORNE-HERE 1\naddress=a\nname=lab\nmodel=QV5020\nnumber=-7\n",
      "ZORNE-HERE 1\naddress=a\nname=lab\nmodel=QV5020\nnumber=7x\n",
      "ZORNE-HERE 1\naddress=a\nname=lab\nmodel=QV5020\nnumber=4294967296\n",
      "ZORNE-HERE 1\naddress=a\nname=\nmodel=QV5020\nnumber=7\n",  // empty name
      "ZORNE-HERE 1\naddress=a\nname=lab\nmodel=\nnumber=7\n",     // empty model
      "ZORNE-HERE 1\naddress=a\nname=lab\nname=lab2\nmodel=QV5020\nnumber=7\n",
      "ZORNE-HERE 1\naddress=a\nname=lab\nmodel=QV5020\nnumber=7\n\n",  // empty line
      "ZORNE-HERE 1\naddress=a\nname=lab\nmodel=QV5020\nnumber=7\nnoequals\n",
      "ZORNE-HERE 1\naddress=a\nname=l\tb\nmodel=QV5020\nnumber=7\n",          // control character
      "ZORNE-HERE 1\naddress=a\nname=l\xC3\nmodel=QV5020\nnumber=7\n",         // cut UTF-8
      "ZORNE-HERE 1\naddress=a\nname=l\xC0\xAF\nmodel=QV5020\nnumber=7\n",     // overlong UTF-8
      "ZORNE-HERE 1\naddress=a\nname=\xED\xA0\x80\nmodel=QV5020\nnumber=7\n",  // surrogate
  };
  for (const char* datagram : malformed) {
    EXPECT_EQ(ParseDiscoveryAnswer(datagram), std::nullopt) << datagram;
  }
  const std::string keys[] = {"key=", "key=sha256:abc", "key=" + kKeyA + "a",
                              "key=sha256:" + std::string(64, 'A'),
                              "key=" + kKeyA + "\nkey=" + kKeyA};
  for (const std::string& key : keys) {
    EXPECT_EQ(ParseDiscoveryAnswer(kAnswer + key + "\n"), std::nullopt) << key;
  }
  const std::string with_nul =
      "ZORNE-HERE 1\naddress=a\nname=l" + std::string(1, '\0') + "b\nmodel=QV5020\nnumber=7\n";
  EXPECT_EQ(ParseDiscoveryAnswer(with_nul), std::nullopt);
}

TEST(VireoDiscoveryAnswer, TakesAtMost1024Bytes) {
  const std::string head = "ZORNE-HERE 1\naddress=a\nmodel=QV5020\nnumber=7\nname=";
  const std::string fits = head + std::string(1024 - head.size(), 'n');
  EXPECT_NE(ParseDiscoveryAnswer(fits), std::nullopt);
  EXPECT_EQ(ParseDiscoveryAnswer(fits + "n"), std::nullopt);
}

TEST(VireoDiscoveryResults, KeepsTheFirstAnswerOfEachAddressUpToCapacity) {
  const std::string other = "ZORNE-HERE 1\naddress=x\nname=other\nmodel=QV4010\nnumber=9\n";
  DiscoveryResults results(2);
  EXPECT_FALSE(results.Offer(0x7F000005U, "ZORNE-HERE 1\ngarbage\n"));
  EXPECT_TRUE(results.Offer(0x7F000002U, kAnswer));
  EXPECT_FALSE(results.Offer(0x7F000002U, other));  // the same server again
  EXPECT_FALSE(results.Full());
  EXPECT_TRUE(results.Offer(0x7F000003U, other));
  EXPECT_TRUE(results.Full());
  EXPECT_FALSE(results.Offer(0x7F000004U, kAnswer));
  ASSERT_EQ(results.Servers().size(), 2U);
  EXPECT_EQ(results.Servers()[0].address, 0x7F000002U);
  EXPECT_EQ(results.Servers()[0].answer.name, "lab");
  EXPECT_EQ(results.Servers()[1].address, 0x7F000003U);
  EXPECT_EQ(results.Servers()[1].answer.model, "QV4010");
}

TEST(VireoDiscoveryResults, AMalformedAnswerDoesNotTakeTheAddress) {
  DiscoveryResults results(5);
  EXPECT_FALSE(results.Offer(0x7F000002U, "ZORNE-HERE 1\n"));
  EXPECT_TRUE(results.Offer(0x7F000002U, kAnswer));
}

TEST(VireoDiscoveryResults, AnAnswerContradictingThePinnedKeyIsLeftOut) {
  std::vector<std::uint32_t> asked;
  DiscoveryResults results(5, [&asked](std::uint32_t address) -> std::optional<std::string> {
    asked.push_back(address);
    return address == 0x7F000009U ? std::nullopt : std::optional(kKeyA);
  });
  const std::string withA = kAnswer + "key=" + kKeyA + "\n";
  const std::string withB = kAnswer + "key=" + kKeyB + "\n";
  EXPECT_FALSE(results.Offer(0x7F000002U, withB));
  EXPECT_TRUE(results.Offer(0x7F000002U, withA));    // the pinned server itself still counts
  EXPECT_TRUE(results.Offer(0x7F000003U, kAnswer));  // an older server tells no key
  EXPECT_TRUE(results.Offer(0x7F000009U, withB));    // nothing pinned there
  ASSERT_EQ(results.Servers().size(), 3U);
  EXPECT_EQ(results.Servers()[0].answer.key, kKeyA);
  EXPECT_EQ(asked, (std::vector<std::uint32_t>{0x7F000002U, 0x7F000002U, 0x7F000009U}));
}

}  // namespace
}  // namespace azu::vireo
