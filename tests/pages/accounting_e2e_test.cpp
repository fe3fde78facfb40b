// The Print Accounting page end to end: the accounting keys as the server holds them afterwards.

#include <gtest/gtest.h>

#include "pages/accounting_dlg.h"
#include "tests/pages/e2e_fixture.h"

namespace azu {
namespace {

constexpr int kNone = 0, kStandard = 1, kNetwork = 2;
constexpr int kDefaultGroup = 0, kGeneral = 1;

// Every accounting key in other letter case, between lines that must stay in their places.
constexpr const char* kMixedCaseFile =
    "Name=zorne1\r\n"
    "ACCOUNTING.AccountingSystem=StandardAccounting\r\n"
    "\r\n"
    "Accounting.AccountType=GroupAccount\r\n"
    "accounting.ACCOUNTID=77\r\n"
    "Accounting.UserId=old\r\n"
    "URL=100.100.100.101\r\n";

class AccountingEndToEndTest : public test::PageEndToEndTest<CAccountingDlg> {
 protected:
  void Choose(int system, int type, const char* accountId, const char* userId) {
    ui.Choose(CAccountingDlg::kSystemListId, kStandard);  // the type list is enabled here
    ui.Choose(CAccountingDlg::kTypeListId, type);
    ui.Choose(CAccountingDlg::kSystemListId, system);
    ui.Type(CAccountingDlg::kAccountIdId, accountId);
    ui.Type(CAccountingDlg::kUserIdId, userId);
  }
  void ExpectRebootOffered() {
    ASSERT_EQ(recorder.Boxes().size(), 1U);
    EXPECT_EQ(recorder.Boxes()[0].type, kQuestionBox);
    EXPECT_FALSE(Logged("reboot"));  // answered No
  }
};

TEST_F(AccountingEndToEndTest, NoneRemovesEveryOtherAccountingLineWhateverTheFieldsHold) {
  Choose(kNone, kGeneral, "123", "user");
  EXPECT_EQ(ConfigureOver(kMixedCaseFile),
            "Name=zorne1\r\n"
            "ACCOUNTING.AccountingSystem=None\r\n"
            "\r\n"
            "URL=100.100.100.101\r\n");
  ExpectRebootOffered();
}

TEST_F(AccountingEndToEndTest, StandardWithDefaultGroupDropsTheAccountId) {
  Choose(kStandard, kDefaultGroup, "123", "sys");
  EXPECT_EQ(ConfigureOver(kMixedCaseFile),
            "Name=zorne1\r\n"
            "ACCOUNTING.AccountingSystem=StandardAccounting\r\n"
            "\r\n"
            "Accounting.AccountType=DefaultAccount\r\n"
            "Accounting.UserId=sys\r\n"
            "URL=100.100.100.101\r\n");
  ExpectRebootOffered();
}

TEST_F(AccountingEndToEndTest, StandardWithGeneralWritesTheAccountIdAndDropsAnEmptyUserId) {
  Choose(kStandard, kGeneral, "4711", "");
  EXPECT_EQ(ConfigureOver(kMixedCaseFile),
            "Name=zorne1\r\n"
            "ACCOUNTING.AccountingSystem=StandardAccounting\r\n"
            "\r\n"
            "Accounting.AccountType=GeneralAccount\r\n"
            "accounting.ACCOUNTID=4711\r\n"
            "URL=100.100.100.101\r\n");
}

TEST_F(AccountingEndToEndTest, NetworkAccountingDropsTheTypeAndTakesAnyAccountId) {
  Choose(kNetwork, kGeneral, "A-1", "print");
  EXPECT_EQ(ConfigureOver(kMixedCaseFile),
            "Name=zorne1\r\n"
            "ACCOUNTING.AccountingSystem=NetworkAccounting\r\n"
            "\r\n"
            "accounting.ACCOUNTID=A-1\r\n"
            "Accounting.UserId=print\r\n"
            "URL=100.100.100.101\r\n");
}

TEST_F(AccountingEndToEndTest, EmptyFieldsRemoveTheirLines) {
  Choose(kNetwork, kDefaultGroup, "", "");
  EXPECT_EQ(ConfigureOver(kMixedCaseFile),
            "Name=zorne1\r\n"
            "ACCOUNTING.AccountingSystem=NetworkAccounting\r\n"
            "\r\n"
            "URL=100.100.100.101\r\n");
}

TEST_F(AccountingEndToEndTest, MissingKeysAreAppendedInLowerCaseAndInOrder) {
  Choose(kStandard, kGeneral, "42", "ops");
  EXPECT_EQ(ConfigureOver("Name=zorne1\nURL=100.100.100.101"),
            "Name=zorne1\r\n"
            "URL=100.100.100.101\r\n"
            "accounting.accountingsystem=StandardAccounting\r\n"
            "accounting.accounttype=GeneralAccount\r\n"
            "accounting.accountid=42\r\n"
            "accounting.userid=ops\r\n");
}

TEST_F(AccountingEndToEndTest, RefusedAccountIdNeverReachesTheServer) {
  Choose(kStandard, kGeneral, "12a", "");
  EXPECT_EQ(ConfigureOver(kMixedCaseFile), kMixedCaseFile);
  EXPECT_TRUE(emulator.Events().empty());
}

}  // namespace
}  // namespace azu
