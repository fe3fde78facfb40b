#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "platform/resource.h"
#include "tests/platform/text_rows.h"

namespace azu::platform {
namespace {

std::span<const char> TextTable() {
  return FindRawResource(kTextTableResourceId);
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) {
    ++count;
  }
  return count;
}

TEST(TextResource, HeaderIsKeyAndTheSevenLanguages) {
  const testing::TextRows blob = testing::ReadTextRows(TextTable());
  ASSERT_FALSE(blob.rows.empty());
  EXPECT_EQ(blob.rows[0],
            (std::vector<std::string>{"Key", "en", "fr", "it", "de", "es", "pt", "nl"}));
}

TEST(TextResource, HoldsTheProgramsKeysOnceEach) {
  const testing::TextRows blob = testing::ReadTextRows(TextTable());
  EXPECT_TRUE(blob.ends_after_a_row);
  ASSERT_EQ(blob.rows.size(), 1u + 135u);  // the 133 of the table, M_LINEBREAK and M_HOSTKEY
  EXPECT_EQ(blob.rows[1][0], "L_ADD");
  EXPECT_EQ(blob.rows.back()[0], "V_NETWORKACCOUNTING");
  std::set<std::string> keys;
  for (std::size_t i = 1; i < blob.rows.size(); ++i) {
    const std::string& key = blob.rows[i][0];
    EXPECT_TRUE(keys.insert(key).second) << key << " twice";
    EXPECT_TRUE(key.starts_with("L_") || key.starts_with("M_") || key.starts_with("P_") ||
                key.starts_with("V_"))
        << key;
  }
  const std::string_view bytes(TextTable().data(), TextTable().size());
  EXPECT_TRUE(bytes.ends_with(std::string_view("\0\0", 2)));
}

TEST(TextResource, OnlyFiveRowsAreEnglishOnly) {
  const testing::TextRows blob = testing::ReadTextRows(TextTable());
  std::vector<std::string> english_only;
  for (std::size_t i = 1; i < blob.rows.size(); ++i) {
    const std::vector<std::string>& row = blob.rows[i];
    if (row.size() == 2) {
      english_only.push_back(row[0]);
    } else {
      EXPECT_EQ(row.size(), 8u) << row[0];
    }
  }
  EXPECT_EQ(english_only,
            (std::vector<std::string>{"L_ZORNE", "L_SNMP", "L_HTTP", "V_SNMPV1", "V_SNMPV3"}));
}

// A translation that lost a "%d" or a line break would show the wrong message.
TEST(TextResource, TranslationsKeepPlaceholdersAndLineBreaks) {
  const testing::TextRows blob = testing::ReadTextRows(TextTable());
  for (std::size_t i = 1; i < blob.rows.size(); ++i) {
    const std::vector<std::string>& row = blob.rows[i];
    for (std::size_t column = 2; column < row.size(); ++column) {
      EXPECT_EQ(Count(row[column], "%"), Count(row[1], "%")) << row[0] << " " << column;
      EXPECT_EQ(Count(row[column], "%d"), Count(row[1], "%d")) << row[0] << " " << column;
      EXPECT_EQ(Count(row[column], "\n"), Count(row[1], "\n")) << row[0] << " " << column;
    }
  }
}

TEST(TextResource, TextsAreWindows1252) {
  const testing::TextRows blob = testing::ReadTextRows(TextTable());
  ASSERT_GT(blob.rows.size(), 1u);
  EXPECT_EQ(blob.rows[1][4], "Hinzuf\xFCgen");  // L_ADD in German, u-umlaut 0xFC
  for (const auto& row : blob.rows) {
    for (const std::string& field : row) {
      EXPECT_TRUE(std::none_of(field.begin(), field.end(), [](char c) {
        return c != '\n' && c > 0 && c < 0x20;
      })) << row[0];
    }
  }
}

TEST(TextResource, EmbeddedCopyIsTheResourceFile) {
  std::ifstream file(AZU_TEXTS_BIN, std::ios::binary);
  ASSERT_TRUE(file) << AZU_TEXTS_BIN;
  const std::string bytes(std::istreambuf_iterator<char>(file), {});
  EXPECT_EQ(bytes, std::string(TextTable().data(), TextTable().size()));
}

TEST(TextResource, OtherIdsAreMissing) {
  EXPECT_TRUE(FindRawResource(kTextTableResourceId - 1).empty());
  EXPECT_TRUE(FindRawResource(0).empty());
}

}  // namespace
}  // namespace azu::platform
