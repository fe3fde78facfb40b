// The SNMP page: its version list, the two control groups and what each version writes.

#include "pages/snmp_dlg.h"

#include <gtest/gtest.h>

#include <QTest>

#include "tests/pages/page_fixture.h"

namespace azu {
namespace {

constexpr int kVersion = CSNMPDlg::kVersionListId;
const std::vector<int> kV1Group{1048, 1050, 1042, 1051, 1043};
const std::vector<int> kV3Group{1049, 1052, 1044, 1053, 1045};

using SnmpPageTest = test::FakePageTest<CSNMPDlg>;

TEST_F(SnmpPageTest, VersionsKeepTheirOrderInTheSortedList) {
  QComboBox* versions = ui.List(kVersion);
  ASSERT_EQ(versions->count(), 2);
  EXPECT_EQ(versions->itemText(0), "SNMPv1/2c");
  EXPECT_EQ(versions->itemText(1), "SNMPv3");
  EXPECT_EQ(versions->currentIndex(), 0);
  EXPECT_EQ(page.ItemText(1048), "SNMPv1/2c Settings");
  EXPECT_EQ(page.ItemText(1052), "Authentication Password:");
}

TEST_F(SnmpPageTest, EachVersionEnablesItsGroupAndDisablesTheOther) {
  const auto expect = [this](bool v1) {
    for (const int id : kV1Group) EXPECT_EQ(ui.Enabled(id), v1) << id;
    for (const int id : kV3Group) EXPECT_EQ(ui.Enabled(id), !v1) << id;
  };
  expect(true);
  ui.Choose(kVersion, 1);
  expect(false);
  ui.Choose(kVersion, 0);
  expect(true);
}

TEST_F(SnmpPageTest, DisabledGroupKeepsItsTextButIsNotWritten) {
  library.files[test::kMainConfigPath] = "";
  ui.Type(CSNMPDlg::kGetCommunityId, "public");
  ui.Type(CSNMPDlg::kSetCommunityId, "private");
  ui.Choose(kVersion, 1);
  ui.Type(CSNMPDlg::kAuthPasswordId, "authpass");
  ui.Type(CSNMPDlg::kPrivPasswordId, "privpass");
  EXPECT_EQ(ui.Edit(CSNMPDlg::kGetCommunityId)->text(), "public");
  page.Configure();
  EXPECT_EQ(library.files[test::kMainConfigPath],
            "snmp.version=3\r\nsnmp.username=Vadmin\r\nsnmp.authpassword=authpass\r\n"
            "snmp.privpassword=privpass\r\n");
  ui.Choose(kVersion, 0);
  EXPECT_EQ(ui.Edit(CSNMPDlg::kAuthPasswordId)->text(), "authpass");
}

TEST_F(SnmpPageTest, CommunitiesTakeSixtyFourAndPasswordsThirtyTwoCharacters) {
  const auto typeTooMuch = [this](int id, int limit) {
    QTest::keyClicks(ui.Edit(id), QString(limit + 1, QLatin1Char('c')));
    EXPECT_EQ(ui.Edit(id)->text().size(), limit) << id;
  };
  typeTooMuch(CSNMPDlg::kGetCommunityId, 64);
  typeTooMuch(CSNMPDlg::kSetCommunityId, 64);
  ui.Choose(kVersion, 1);
  typeTooMuch(CSNMPDlg::kAuthPasswordId, 32);
  typeTooMuch(CSNMPDlg::kPrivPasswordId, 32);
  EXPECT_EQ(ui.Edit(CSNMPDlg::kPrivPasswordId)->echoMode(), QLineEdit::Password);
}

TEST_F(SnmpPageTest, FailedOpenOfTheFetchedCopyNamesTheStep) {
  library.files[test::kMainConfigPath] = "";
  // The fetched copy becomes a folder: it can no longer be opened as a file.
  library.onGetFile = [](const std::string& local) {
    std::filesystem::remove(local);
    std::filesystem::create_directory(local);
  };
  page.Configure();
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].text.rfind("SNMP settings not set: Open (", 0), 0U)
      << recorder.Boxes()[0].text;
  EXPECT_FALSE(Called("PutFile /not-scsi0/dev0/maj_0.cfg"));
  EXPECT_FALSE(Called("Reboot"));
}

}  // namespace
}  // namespace azu
