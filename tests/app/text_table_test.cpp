#include "app/text_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace azu {
namespace {

// Header of three languages; L_SNMP is English only, M_TWO stops before German.
constexpr char kBlob[] =
    "Key\0en\0fr\0de\0\0"
    "L_OK\0OK\0D'accord\0OK\0\0"
    "L_SNMP\0SNMP\0\0"
    "M_TWO\0Two\0Deux\0\0"
    "M_REBOOT\0Reboot?\nNow\0Red\xE9marrer ?\0Neustart (%d)\0\0";
constexpr std::size_t kRows = 4;

std::span<const char> SmallBlob() {
  return {kBlob, sizeof kBlob - 1};
}

// The bytes of a literal with its embedded NULs, without the closing one.
template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
  return {literal, N - 1};
}

// A heap copy of exactly `size` bytes, so that AddressSanitizer sees any read past it.
std::unique_ptr<char[]> ExactCopy(std::span<const char> bytes) {
  auto copy = std::make_unique<char[]>(bytes.size());
  std::memcpy(copy.get(), bytes.data(), bytes.size());
  return copy;
}

// The text of `key`, checked to be NUL-ended inside [begin, end).
std::string TextWithin(const TextTable& table, const char* key, const char* begin,
                       const char* end) {
  const char* text = table.Get(key);
  if (text == nullptr) return "(null)";
  if (text < begin || text >= end ||
      std::memchr(text, '\0', static_cast<std::size_t>(end - text)) == nullptr) {
    ADD_FAILURE() << key << " lies outside the blob";
    return "(outside)";
  }
  return text;
}

TEST(SplitTextRow, GivesTheFieldsAndTheNextRow) {
  const char* const end = kBlob + sizeof kBlob - 1;
  std::vector<std::string_view> fields{"stale"};
  const char* next = nullptr;
  EXPECT_EQ(SplitTextRow(kBlob, end, fields, &next), 3);
  EXPECT_EQ(fields, (std::vector<std::string_view>{"Key", "en", "fr", "de"}));
  EXPECT_EQ(SplitTextRow(next, end, fields, &next), 3);
  EXPECT_EQ(SplitTextRow(next, end, fields, &next), 1);
  EXPECT_EQ(fields, (std::vector<std::string_view>{"L_SNMP", "SNMP"}));
  EXPECT_EQ(std::string_view(next, 5), "M_TWO");
}

TEST(SplitTextRow, StopsAtTheEnd) {
  constexpr char kCut[] = "L_OK\0OK\0D'acc";
  const char* const end = kCut + sizeof kCut - 1;
  std::vector<std::string_view> fields;
  const char* next = nullptr;
  EXPECT_EQ(SplitTextRow(kCut, end, fields, &next), 1);  // the cut field is not taken
  EXPECT_EQ(next, end);
  EXPECT_EQ(SplitTextRow(kCut, kCut + 2, fields, &next), -1);
  EXPECT_EQ(next, kCut + 2);
  EXPECT_EQ(SplitTextRow(end, end, fields, &next), -1);
  EXPECT_TRUE(fields.empty());
}

TEST(TextTable, ChoosesTheColumnOfTheLanguage) {
  TextTable table;
  table.Load(SmallBlob(), "fr");
  EXPECT_EQ(table.Language(), "fr");
  EXPECT_STREQ(table.Get("L_OK"), "D'accord");
  EXPECT_STREQ(table.Get("M_REBOOT"), "Red\xE9marrer ?");
  // Texts are read in place, not copied.
  EXPECT_GE(table.Get("L_OK"), kBlob);
  EXPECT_LT(table.Get("L_OK"), kBlob + sizeof kBlob);

  table.Load(SmallBlob(), "en");
  EXPECT_EQ(table.Language(), "en");
  EXPECT_STREQ(table.Get("M_REBOOT"), "Reboot?\nNow");

  table.Load(SmallBlob(), "de");
  EXPECT_STREQ(table.Get("M_REBOOT"), "Neustart (%d)");
}

TEST(TextTable, LanguageNotInTheHeaderGivesEnglish) {
  for (const char* language : {"ja", "FR", "Fr", "f", "fra", "fr ", "", "Key"}) {
    TextTable table;
    table.Load(SmallBlob(), language);
    EXPECT_EQ(table.Language(), "en") << language;
    EXPECT_STREQ(table.Get("L_OK"), "OK") << language;
    EXPECT_STREQ(table.Get("M_TWO"), "Two") << language;
  }
}

TEST(TextTable, ShortRowGivesItsLastText) {
  TextTable table;
  table.Load(SmallBlob(), "fr");
  EXPECT_STREQ(table.Get("L_SNMP"), "SNMP");
  EXPECT_STREQ(table.Get("M_TWO"), "Deux");
  table.Load(SmallBlob(), "de");
  EXPECT_STREQ(table.Get("L_SNMP"), "SNMP");
  EXPECT_STREQ(table.Get("M_TWO"), "Deux");
}

TEST(TextTable, OnlyRowKeysAreEntries) {
  TextTable table;
  table.Load(SmallBlob(), "fr");
  EXPECT_EQ(table.Size(), kRows);
  EXPECT_EQ(table.Get("Key"), nullptr);
  EXPECT_EQ(table.Get("fr"), nullptr);
  EXPECT_EQ(table.Get("L_NONE"), nullptr);
  EXPECT_EQ(table.Get("l_ok"), nullptr);
  EXPECT_EQ(table.Get("L_O"), nullptr);
  EXPECT_EQ(table.Get(""), nullptr);
}

TEST(TextTable, LaterRowOfTheSameKeyWins) {
  constexpr char kTwice[] = "Key\0en\0\0L_OK\0First\0\0L_OK\0Second\0\0";
  TextTable table;
  table.Load({kTwice, sizeof kTwice - 1}, "en");
  EXPECT_EQ(table.Size(), 1u);
  EXPECT_STREQ(table.Get("L_OK"), "Second");
}

TEST(TextTable, MissingResourceGivesAnEmptyTable) {
  TextTable table;
  table.Load(SmallBlob(), "fr");
  table.Load({}, "fr");
  EXPECT_EQ(table.Size(), 0u);
  EXPECT_EQ(table.Language(), "en");
  EXPECT_EQ(table.Get("L_OK"), nullptr);
}

// Every cut of a valid blob gives a prefix of its rows with the same texts; a row whose
// closing NUL is cut away is dropped whole.
TEST(TextTable, TruncatedBlobGivesFewerRowsAndNoReadPastItsEnd) {
  const std::span<const char> full = SmallBlob();
  for (const char* language : {"en", "fr", "de"}) {
    TextTable whole;
    whole.Load(full, language);
    for (std::size_t size = 0; size <= full.size(); ++size) {
      const std::unique_ptr<char[]> cut = ExactCopy(full.first(size));
      TextTable table;
      table.Load({cut.get(), size}, language);
      EXPECT_EQ(table.Size() == kRows, size == full.size()) << "size " << size;
      for (const char* key : {"L_OK", "L_SNMP", "M_TWO", "M_REBOOT"}) {
        const std::string text = TextWithin(table, key, cut.get(), cut.get() + size);
        if (text != "(null)") {
          EXPECT_STREQ(text.c_str(), whole.Get(key)) << key << " " << size;
        }
      }
    }
  }
}

TEST(TextTable, DamagedBlobNeverReadsPastItsEnd) {
  struct Case {
    std::string bytes;
    std::size_t rows;
  };
  const Case cases[] = {
      // Garbage without a NUL after the last row.
      {std::string(SmallBlob().data(), SmallBlob().size()) + Bytes("L_X\0Y"), kRows},
      // The last row lacks its closing NUL.
      {Bytes("Key\0en\0\0L_OK\0OK\0"), 0},
      // No header.
      {Bytes("\0\0\0L_OK\0OK\0\0"), 0},
      // Stray NULs between rows.
      {Bytes("Key\0en\0\0\0\0L_OK\0OK\0\0"), 1},
  };
  for (const Case& c : cases) {
    const std::unique_ptr<char[]> copy = ExactCopy(c.bytes);
    TextTable table;
    table.Load({copy.get(), c.bytes.size()}, "en");
    EXPECT_EQ(table.Size(), c.rows) << c.bytes.size();
    const std::string text = TextWithin(table, "L_OK", copy.get(), copy.get() + c.bytes.size());
    EXPECT_EQ(text, c.rows == 0 ? "(null)" : "OK");
  }

  // Random bytes drawn mostly from the table's own vocabulary, NULs included.
  const std::string pool = Bytes("\0\0\0Key\0en\0fr\0L_OK\0\xE9");
  std::mt19937 random(1252);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes(random() % 64, '\0');
    for (char& c : bytes) c = pool[random() % pool.size()];
    const std::unique_ptr<char[]> copy = ExactCopy(bytes);
    TextTable table;
    table.Load({copy.get(), bytes.size()}, "fr");
    TextWithin(table, "L_OK", copy.get(), copy.get() + bytes.size());
  }
}

}  // namespace
}  // namespace azu
