// The Print Accounting page: its lists, the enabling rule, the account ID check and its failures.

#include "pages/accounting_dlg.h"

#include <gtest/gtest.h>

#include <QTest>

#include "tests/pages/page_fixture.h"

namespace azu {
namespace {

constexpr int kSystem = CAccountingDlg::kSystemListId;
constexpr int kType = CAccountingDlg::kTypeListId;
constexpr int kAccountId = CAccountingDlg::kAccountIdId;
constexpr int kUserId = CAccountingDlg::kUserIdId;
constexpr int kNone = 0, kStandard = 1, kNetwork = 2;
constexpr int kDefaultGroup = 0, kGeneral = 1, kGroup = 2;

using AccountingPageTest = test::FakePageTest<CAccountingDlg>;

std::vector<std::string> Entries(QComboBox* list) {
  std::vector<std::string> entries;
  for (int i = 0; i < list->count(); ++i) entries.push_back(list->itemText(i).toStdString());
  return entries;
}

TEST_F(AccountingPageTest, OpensOnNoneWithTheDependentControlsDisabled) {
  EXPECT_EQ(Entries(ui.List(kSystem)),
            (std::vector<std::string>{"None", "Vantrel Standard Accounting",
                                      "Vantrel Network Accounting"}));
  EXPECT_EQ(Entries(ui.List(kType)),
            (std::vector<std::string>{"Default Group Account", "General", "Group"}));
  EXPECT_EQ(ui.List(kSystem)->currentIndex(), 0);
  EXPECT_EQ(ui.List(kType)->currentIndex(), 0);
  EXPECT_FALSE(ui.Enabled(kType));
  EXPECT_FALSE(ui.Enabled(kAccountId));
  EXPECT_FALSE(ui.Enabled(kUserId));
  EXPECT_EQ(page.ItemText(1062), "Accounting System:");
  EXPECT_EQ(page.ItemText(1059), "AccountID:");
}

TEST_F(AccountingPageTest, EnablingFollowsSystemAndType) {
  struct Case {
    int system, type;
    bool typeList, accountId, userId;
  };
  for (const Case c :
       {Case{kStandard, kDefaultGroup, true, false, true},
        Case{kStandard, kGeneral, true, true, true}, Case{kStandard, kGroup, true, true, true},
        Case{kNetwork, kGroup, false, true, true}, Case{kNetwork, kDefaultGroup, false, true, true},
        Case{kNone, kGeneral, false, false, false}}) {
    // The rule runs on a change of either list, so choose the type while it is enabled.
    ui.Choose(kSystem, kStandard);
    ui.Choose(kType, c.type);
    ui.Choose(kSystem, c.system);
    SCOPED_TRACE(testing::Message() << "system " << c.system << " type " << c.type);
    EXPECT_EQ(ui.Enabled(kType), c.typeList);
    EXPECT_EQ(ui.Enabled(kAccountId), c.accountId);
    EXPECT_EQ(ui.Enabled(kUserId), c.userId);
  }
}

TEST_F(AccountingPageTest, DisabledFieldsKeepWhatWasTyped) {
  ui.Choose(kSystem, kNetwork);
  ui.Type(kAccountId, "4711");
  ui.Type(kUserId, "jobs");
  ui.Choose(kSystem, kNone);
  ASSERT_FALSE(ui.Enabled(kAccountId));
  EXPECT_EQ(ui.Edit(kAccountId)->text(), "4711");
  EXPECT_EQ(ui.Edit(kUserId)->text(), "jobs");
  ui.Choose(kSystem, kStandard);
  EXPECT_EQ(ui.Edit(kAccountId)->text(), "4711");
}

TEST_F(AccountingPageTest, NonNumericAccountIdIsRefusedUnderStandardAccountingOnly) {
  ui.Choose(kSystem, kStandard);  // Default Group Account: the field is disabled, still checked
  ui.Type(kAccountId, "12a");
  page.Configure();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"AccountID must be numeric"}));
  EXPECT_EQ(recorder.Boxes()[0].type, kNoticeBox);
  EXPECT_EQ(prompts, 0);

  recorder.Clear();
  ui.Choose(kSystem, kNetwork);
  library.files[test::kMainConfigPath] = "";
  page.Configure();
  EXPECT_EQ(prompts, 1);
  EXPECT_EQ(library.files[test::kMainConfigPath],
            "accounting.accountingsystem=NetworkAccounting\r\naccounting.accountid=12a\r\n");
}

TEST_F(AccountingPageTest, ServerNameIsCheckedBeforeTheAccountId) {
  page.serverName.clear();
  ui.Choose(kSystem, kStandard);
  ui.Type(kAccountId, "x");
  page.Configure();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"You need to specify a Zorne Server"}));
}

TEST_F(AccountingPageTest, FieldsTakeThirtyTwoCharacters) {
  ui.Choose(kSystem, kNetwork);
  for (const int id : {kAccountId, kUserId}) {
    ui.Edit(id)->clear();
    QTest::keyClicks(ui.Edit(id), QString(33, QLatin1Char('7')));
    EXPECT_EQ(ui.Edit(id)->text().size(), 32);
  }
}

TEST_F(AccountingPageTest, FailedFetchShowsItsStatusAndOffersNoReboot) {
  library.failAt = {{"GetFile", VIREO_E_SERVER}};
  page.Configure();
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].text,
            "Account credentials not set: getFile (" + std::to_string(VIREO_E_SERVER) + ")");
  EXPECT_EQ(recorder.Boxes()[0].type, kErrorBox);
  EXPECT_FALSE(Called("Reboot"));
  EXPECT_EQ(library.calls.back(), "Disconnect 42");
}

TEST_F(AccountingPageTest, NewWindowStartsOnNoneAndShowsTheKeptFields) {
  ui.Choose(kSystem, kNetwork);
  ui.Type(kUserId, "kept");
  library.files[test::kMainConfigPath] = "";
  page.Configure();
  page.DestroyWindow();
  ASSERT_TRUE(page.Create(nullptr));
  EXPECT_EQ(ui.List(kSystem)->currentIndex(), 0);
  EXPECT_FALSE(ui.Enabled(kUserId));
  EXPECT_EQ(ui.Edit(kUserId)->text(), "kept");
  EXPECT_EQ(ui.List(kType)->count(), 3);
}

}  // namespace
}  // namespace azu
