// The process-wide table loaded from the embedded resource, as start-up loads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "app/text_table.h"
#include "platform/resource.h"
#include "tests/platform/text_rows.h"

namespace azu {
namespace {

void LoadFor(const char* language) {
  std::strncpy(g_systemLanguage, language, kLanguageBufferSize - 1);
  LoadTextTable();
}

// Every row's text in header column `column`, or its last text when it is shorter.
void ExpectColumn(std::size_t column) {
  const testing::TextRows blob =
      testing::ReadTextRows(platform::FindRawResource(platform::kTextTableResourceId));
  ASSERT_GT(blob.rows.size(), 1u);
  EXPECT_EQ(ProcessTextTable().Size(), blob.rows.size() - 1);
  for (std::size_t i = 1; i < blob.rows.size(); ++i) {
    const std::vector<std::string>& row = blob.rows[i];
    const std::string& expected = row[std::min(column, row.size() - 1)];
    const char* text = GetText(row[0].c_str());
    ASSERT_NE(text, nullptr) << row[0];
    EXPECT_EQ(text, expected) << row[0];
  }
}

TEST(LoadTextTable, FrenchSystemGetsTheFrenchColumn) {
  LoadFor("fr");
  EXPECT_EQ(ProcessTextTable().Language(), "fr");
  ExpectColumn(2);
  EXPECT_STREQ(GetText("L_SNMP"), "SNMP");
  EXPECT_STRNE(GetText("L_CANCEL"), "Cancel");
}

TEST(LoadTextTable, EnglishSystemGetsEnglish) {
  LoadFor("en");
  EXPECT_EQ(ProcessTextTable().Language(), "en");
  ExpectColumn(1);
  EXPECT_STREQ(GetText("L_CANCEL"), "Cancel");
  EXPECT_STREQ(GetText("M_REBOOTNOW"),
               "Zorne needs to be rebooted for changes to take effect.\n\nReboot now?");
}

TEST(LoadTextTable, EveryLanguageOfTheHeaderIsAvailable) {
  const char* const languages[] = {"en", "fr", "it", "de", "es", "pt", "nl"};
  for (std::size_t column = 1; column <= 7; ++column) {
    LoadFor(languages[column - 1]);
    EXPECT_EQ(ProcessTextTable().Language(), languages[column - 1]);
    ExpectColumn(column);
  }
}

TEST(LoadTextTable, OtherLanguagesGetEnglish) {
  for (const char* language : {"ja", "FR", "zh", "C", "POSIX", ""}) {
    LoadFor(language);
    EXPECT_EQ(ProcessTextTable().Language(), "en") << language;
    EXPECT_STREQ(GetText("L_CANCEL"), "Cancel") << language;
  }
}

TEST(LoadTextTable, HeaderAndUnknownKeysGiveNull) {
  LoadFor("fr");
  EXPECT_EQ(GetText("Key"), nullptr);
  EXPECT_EQ(GetText("L_NOSUCHKEY"), nullptr);
  EXPECT_EQ(GetText("l_cancel"), nullptr);
  EXPECT_EQ(GetText(nullptr), nullptr);
}

}  // namespace
}  // namespace azu
