#include "ui/copier_series.h"

#include <gtest/gtest.h>

namespace azu {
namespace {

TEST(CopierSeries, EachIndexGivesItsSeriesNumber) {
  const int numbers[] = {5000, 4000, 3000, 2000, 1000};
  for (int index = 0; index < 5; ++index) {
    const auto record = MakeSeriesRecord(index);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->GetSeriesNumber(), numbers[index]);
  }
  EXPECT_EQ(MakeSeriesRecord(5), nullptr);
  EXPECT_EQ(MakeSeriesRecord(-1), nullptr);
}

TEST(CopierSeries, ModelCodesMatchWithoutRegardToCase) {
  EXPECT_EQ(CQV50XX().FindModelCode("qv5020"), 2);
  EXPECT_EQ(CQV50XX().FindModelCode("QV5040"), 4);
  EXPECT_EQ(CQV30XX().FindModelCode("QV3050"), 5);
  EXPECT_EQ(CQV10XX().FindModelCode("qV1010"), 1);
}

TEST(CopierSeries, OtherSeriesPartialTextsAndUnknownGiveZero) {
  EXPECT_EQ(CQV50XX().FindModelCode("QV4010"), 0);
  EXPECT_EQ(CQV40XX().FindModelCode("QV40"), 0);
  EXPECT_EQ(CQV40XX().FindModelCode("QV40100"), 0);
  EXPECT_EQ(CQV20XX().FindModelCode(""), 0);
  EXPECT_EQ(CQV20XX().FindModelCode(nullptr), 0);
  for (int index = 0; index < 5; ++index) {
    EXPECT_EQ(MakeSeriesRecord(index)->FindModelCode("Unknown"), 0);
    EXPECT_EQ(MakeSeriesRecord(index)->FindModelCode("UNKNOWN"), 0);
  }
}

}  // namespace
}  // namespace azu
