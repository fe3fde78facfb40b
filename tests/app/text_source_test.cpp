#include "resources/text_source.h"

#include <gtest/gtest.h>

#include <string>

namespace azu::resources {
namespace {

// The bytes of a literal with its embedded NULs, without the closing one.
template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
  return {literal, N - 1};
}

const std::string kHeader = "Key\ten\tfr\tit\tde\tes\tpt\tnl\n";
const std::string kHeaderRow = Bytes("Key\0en\0fr\0it\0de\0es\0pt\0nl\0\0");

std::string Full(const std::string& key, const std::string& en) {
  return key + "\t" + en + "\tfr\tit\tde\tes\tpt\tnl\n";
}

TEST(TextSource, BuildsTheResourceBytes) {
  const std::string source = kHeader + "L_SNMP\tSNMP\n" +
                             "M_REBOOT\tReboot?\\n\\nNow\t\xE2\x82\xAC \\\\ Red\xC3\xA9marrer\tit\t"
                             "de\tes\tpt\tnl\n";
  const TextBlobResult result = BuildTextBlob(source, "texts.tsv");
  ASSERT_TRUE(result.blob) << (result.errors.empty() ? "" : result.errors[0]);
  EXPECT_TRUE(result.errors.empty());
  const std::string expected =
      kHeaderRow + Bytes("L_SNMP\0SNMP\0\0") +
      Bytes("M_REBOOT\0Reboot?\n\nNow\0\x80 \\ Red\xE9marrer\0it\0de\0es\0pt\0nl\0\0");
  EXPECT_EQ(*result.blob, expected);
}

TEST(TextSource, AcceptsWindowsLineEndsAndAByteOrderMark) {
  const std::string source = "\xEF\xBB\xBFKey\ten\tfr\tit\tde\tes\tpt\tnl\r\nL_OK\tOK\r\n";
  const TextBlobResult result = BuildTextBlob(source, "texts.tsv");
  ASSERT_TRUE(result.blob);
  EXPECT_EQ(*result.blob, kHeaderRow + Bytes("L_OK\0OK\0\0"));
}

TEST(TextSource, RefusesFaultySources) {
  struct Case {
    const char* what;
    std::string source;
    std::string error;  // expected start of the first error
  };
  const Case cases[] = {
      {"character outside the code page", kHeader + Full("L_A", "ok") + "L_B\t\xE6\x97\xA5\n",
       "t.tsv:3: column en: \"\xE6\x97\xA5\" (bytes E6 97 A5) cannot be encoded"},
      {"undefined byte's C1 value", kHeader + "L_B\tx\xC2\x81y\n",
       "t.tsv:2: column en: \"\xC2\x81\" (bytes C2 81) cannot be encoded"},
      {"not UTF-8", kHeader + "L_B\tx\xE9y\n", "t.tsv:2: column en: \"\xE9y\""},
      {"empty field", kHeader + "L_A\tA\tfr\tit\t\tes\tpt\tnl\n", "t.tsv:2: column de is empty"},
      {"empty key", kHeader + "\tA\n", "t.tsv:2: key \"\" must start"},
      {"three fields", kHeader + "L_A\tA\tB\n", "t.tsv:2: 3 fields; a row has 2"},
      {"key alone", kHeader + "L_A\n", "t.tsv:2: 1 field;"},
      {"nine fields", kHeader + "L_A\tA\tfr\tit\tde\tes\tpt\tnl\tx\n", "t.tsv:2: 9 fields"},
      {"duplicate key", kHeader + Full("L_A", "a") + "L_B\tb\n" + Full("L_A", "c"),
       "t.tsv:4: key L_A already on line 2"},
      {"wrong prefix", kHeader + "X_A\ta\n", "t.tsv:2: key \"X_A\" must start"},
      {"prefix alone", kHeader + "L_\ta\n", "t.tsv:2: key \"L_\" must start"},
      {"non-ASCII key", kHeader + "L_\xC3\xA9\ta\n", "t.tsv:2: key \"L_\xC3\xA9\" must start"},
      {"unknown escape", kHeader + "L_A\ta\\tb\n", "t.tsv:2: column en: unknown escape \\t"},
      {"backslash at the end", kHeader + "L_A\ta\\\n", "t.tsv:2: column en: backslash at the"},
      {"control character", kHeader + "L_A\ta\rb\n", "t.tsv:2: column en: control character"},
      {"blank line", kHeader + "\n" + "L_A\ta\n", "t.tsv:2: empty line"},
      {"header order", "Key\ten\tde\tfr\tit\tes\tpt\tnl\nL_A\ta\n", "t.tsv:1: the header"},
      {"header missing a language", "Key\ten\tfr\tit\tde\tes\tpt\nL_A\ta\n", "t.tsv:1: the header"},
      {"empty file", "", "t.tsv:1: the header"},
  };
  for (const Case& c : cases) {
    const TextBlobResult result = BuildTextBlob(c.source, "t.tsv");
    EXPECT_FALSE(result.blob) << c.what;
    ASSERT_FALSE(result.errors.empty()) << c.what;
    EXPECT_TRUE(result.errors[0].starts_with(c.error)) << c.what << ": " << result.errors[0];
  }
}

TEST(TextSource, ReportsEveryFaultyLine) {
  const std::string source = kHeader + "L_A\t\n" + Full("L_B", "b") + "L_C\t\xE6\x97\xA5\n";
  const TextBlobResult result = BuildTextBlob(source, "t.tsv");
  EXPECT_FALSE(result.blob);
  ASSERT_EQ(result.errors.size(), 2u);
  EXPECT_TRUE(result.errors[0].starts_with("t.tsv:2:"));
  EXPECT_TRUE(result.errors[1].starts_with("t.tsv:4:"));
}

}  // namespace
}  // namespace azu::resources
