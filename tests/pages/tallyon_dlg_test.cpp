// The Print Tallyon page: its field limits, no checks of its own, its failure messages.

#include "pages/tallyon_dlg.h"

#include <gtest/gtest.h>

#include <QTest>

#include "tests/pages/page_fixture.h"

namespace azu {
namespace {

using TallyonPageTest = test::FakePageTest<CTallyonDlg>;

TEST_F(TallyonPageTest, UserIdTakesThirtyTwoAndThePasscodeTwelveMaskedCharacters) {
  QTest::keyClicks(ui.Edit(CTallyonDlg::kUserIdId), QString(33, QLatin1Char('u')));
  QTest::keyClicks(ui.Edit(CTallyonDlg::kPasscodeId), QString(13, QLatin1Char('p')));
  EXPECT_EQ(ui.Edit(CTallyonDlg::kUserIdId)->text().size(), 32);
  EXPECT_EQ(ui.Edit(CTallyonDlg::kPasscodeId)->text().size(), 12);
  EXPECT_EQ(ui.Edit(CTallyonDlg::kPasscodeId)->echoMode(), QLineEdit::Password);
  EXPECT_EQ(page.ItemText(1029), "Passcode:");
}

TEST_F(TallyonPageTest, KeysAreRewrittenWithTheirLettersAsTheyStood) {
  library.files[test::kMainConfigPath] = "azpersuserid=old\nAZPERSUSERPWD\n";
  ui.Type(CTallyonDlg::kUserIdId, "new user");
  ui.Type(CTallyonDlg::kPasscodeId, "123456789012");
  recorder.SetNextAnswer(IDYES);
  page.Configure();
  EXPECT_EQ(library.files[test::kMainConfigPath],
            "azpersuserid=new user\r\nAZPERSUSERPWD=123456789012\r\n");
  EXPECT_TRUE(Called("Reboot"));
}

TEST_F(TallyonPageTest, FailedStoreNamesTheStepAndOffersNoReboot) {
  library.files[test::kMainConfigPath] = "";
  library.failAt = {{"PutFile", VIREO_E_CONFLICT}};
  page.Configure();
  EXPECT_EQ(prompts, 1);  // empty fields need no check
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].text,
            "Tallyon credentials not set: putFile (" + std::to_string(VIREO_E_CONFLICT) + ")");
  EXPECT_FALSE(Called("Reboot"));
}

}  // namespace
}  // namespace azu
