// The key=value line rewrite through real text files: what is matched, kept, rewritten, dropped
// and appended, and the CR LF text-mode ends.

#include "server/line_rewrite.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/temp_folder.h"

namespace azu {
namespace {

class LineRewriteTest : public testing::Test {
 protected:
  // Rewrites `input` with `rules`; gives the written bytes.
  std::string Rewrite(const std::string& input, const std::vector<KeyRule>& rules,
                      RewriteOutcome* outcome = nullptr) {
    const auto in = folder.Path() / "in";
    const auto out = folder.Path() / "out";
    std::ofstream(in, std::ios::binary) << input;
    int error = 0;
    auto reader = TextFileReader::Open(in.string(), &error);
    auto writer = TextFileWriter::Create(out.string(), &error);
    EXPECT_TRUE(reader && writer);
    const RewriteOutcome result = RewriteLines(*reader, *writer, rules);
    EXPECT_TRUE(writer->Close(&error));
    if (outcome != nullptr) *outcome = result;
    std::ifstream written(out, std::ios::binary);
    std::ostringstream bytes;
    bytes << written.rdbuf();
    return bytes.str();
  }

  test::TempFolderScope folder;
};

TEST_F(LineRewriteTest, MatchesTheExactKeyBeforeTheFirstEqualsSignInAnyCase) {
  const std::string out =
      Rewrite("URL =10.0.0.1\nsnmp.version\nSNMP.Version=3\nother=snmp.version=1\n",
              {{"snmp.version", "1"}, {"URL", "10.0.0.9"}});
  EXPECT_EQ(out,
            "URL =10.0.0.1\r\n"   // a blank before '=' is part of the key: no match
            "snmp.version=1\r\n"  // a key without '=' gets one
            "SNMP.Version=1\r\n"  // the key keeps its letters; every occurrence
            "other=snmp.version=1\r\n"
            "URL=10.0.0.9\r\n");  // appended, since only "URL " stood in the file
}

TEST_F(LineRewriteTest, EmptyLinesKeepTheirPlacesAndDroppedLinesLeaveNoGap) {
  RewriteOutcome outcome;
  const std::string out = Rewrite("a=1\n\nsnmp.username=x\n\nSNMP.USERNAME=y\nb=2\n",
                                  {{"snmp.username", std::nullopt}}, &outcome);
  EXPECT_EQ(out, "a=1\r\n\r\n\r\nb=2\r\n");
  EXPECT_TRUE(outcome.droppedAny);
}

TEST_F(LineRewriteTest, AppendsUnseenKeysInTheRulesOrderButNeverDroppedOnes) {
  RewriteOutcome outcome;
  const std::string out = Rewrite("a=1\n",
                                  {{"accounting.accountingsystem", "None"},
                                   {"accounting.accounttype", std::nullopt},
                                   {"AZPersUserID", ""}},
                                  &outcome);
  EXPECT_EQ(out, "a=1\r\naccounting.accountingsystem=None\r\nAZPersUserID=\r\n");
  EXPECT_FALSE(outcome.droppedAny);
}

TEST_F(LineRewriteTest, LineEndsBecomeCrLfAndALastLineGetsOne) {
  EXPECT_EQ(Rewrite("a=1\r\nb=2\nc=3", {}), "a=1\r\nb=2\r\nc=3\r\n");
  EXPECT_EQ(Rewrite("", {}), "");
  EXPECT_EQ(Rewrite("", {{"k", "v"}}), "k=v\r\n");
  EXPECT_EQ(Rewrite("\r\n\r\n", {}), "\r\n\r\n");
}

TEST_F(LineRewriteTest, LongLinesAndManyLinesSurviveTheBufferEdges) {
  std::string input;
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    const std::string line = "key" + std::to_string(i) + "=" + std::string(i % 97, 'v');
    input += line + (i % 2 == 0 ? "\r\n" : "\n");
    expected += line + "\r\n";
  }
  const std::string longLine(300000, 'x');
  input += longLine + "\n";
  expected += longLine + "\r\n";
  EXPECT_EQ(Rewrite(input, {}), expected);
}

TEST(LineKey, IsTheTextBeforeTheFirstEqualsSign) {
  EXPECT_EQ(LineKey("a=b=c"), "a");
  EXPECT_EQ(LineKey("novalue"), "novalue");
  EXPECT_EQ(LineKey("=x"), "");
  EXPECT_TRUE(KeysMatch("DualIPAddress", "dualipaddress"));
  EXPECT_FALSE(KeysMatch("DualIPAddress ", "DualIPAddress"));
}

}  // namespace
}  // namespace azu
