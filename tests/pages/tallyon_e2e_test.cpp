// The Print Tallyon page end to end: the two job-audit keys as the server holds them afterwards.

#include <gtest/gtest.h>

#include "pages/tallyon_dlg.h"
#include "tests/pages/e2e_fixture.h"

namespace azu {
namespace {

using TallyonEndToEndTest = test::PageEndToEndTest<CTallyonDlg>;

TEST_F(TallyonEndToEndTest, EmptyFieldsOnAFileWithoutTheKeysAppendBothEmpty) {
  EXPECT_EQ(ConfigureOver("Name=zorne1\r\n"), "Name=zorne1\r\nAZPersUserID=\r\nAZPersUserPWD=\r\n");
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].type, kQuestionBox);
}

TEST_F(TallyonEndToEndTest, ValuesOnAFileWithoutTheKeysAreAppendedInMixedCase) {
  ui.Type(CTallyonDlg::kUserIdId, "audit");
  ui.Type(CTallyonDlg::kPasscodeId, "0042");
  EXPECT_EQ(
      ConfigureOver("Name=zorne1\n\nURL=100.100.100.101\n"),
      "Name=zorne1\r\n\r\nURL=100.100.100.101\r\nAZPersUserID=audit\r\nAZPersUserPWD=0042\r\n");
}

}  // namespace
}  // namespace azu
