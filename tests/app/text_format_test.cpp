#include "app/text_format.h"

#include <gtest/gtest.h>

namespace azu {
namespace {

TEST(FormatNumber, FillsEveryPlaceholder) {
  EXPECT_EQ(FormatNumber("Unable to add IP: putFile (%d)", 5), "Unable to add IP: putFile (5)");
  EXPECT_EQ(FormatNumber("%d of %d", -12), "-12 of -12");
  EXPECT_EQ(FormatNumber("%d%d", 7), "77");
  EXPECT_EQ(FormatNumber("(%d)", -9223372036854775807LL - 1), "(-9223372036854775808)");
}

TEST(FormatNumber, TakesEveryOtherPercentLiterally) {
  EXPECT_EQ(FormatNumber("'%' is not a valid IP address", 1), "'%' is not a valid IP address");
  EXPECT_EQ(FormatNumber("%s %x %n %%", 1), "%s %x %n %%");
  EXPECT_EQ(FormatNumber("50%% (%d)", 3), "50%% (3)");
  EXPECT_EQ(FormatNumber("ends in %", 3), "ends in %");
  EXPECT_EQ(FormatNumber("%D %", 3), "%D %");
}

TEST(FormatNumber, NullTextGivesEmpty) {
  EXPECT_EQ(FormatNumber(nullptr, 3), "");
}

TEST(FormatTexts, FillsNumberedPlaceholdersInAnyOrderAndNothingElse) {
  const std::vector<std::string_view> values = {"a", "%2", "c"};
  EXPECT_EQ(FormatTexts("%3 then %1, %1 again", values), "c then a, a again");
  EXPECT_EQ(FormatTexts("%2", values), "%2");  // a value is not read for placeholders
  EXPECT_EQ(FormatTexts("%4 %9 %0 %d %% 100% %", values), "%4 %9 %0 %d %% 100% %");
  EXPECT_EQ(FormatTexts("%1%", {}), "%1%");
  EXPECT_EQ(FormatTexts(nullptr, values), "");
}

}  // namespace
}  // namespace azu
