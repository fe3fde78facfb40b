// The server discovery dialog: sorted entries, column width, chosen address, OK and Cancel.

#include "ui/zorne_search_dlg.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/text_table.h"
#include "framework/message_box.h"
#include "framework/qt/qt_dialog.h"
#include "platform/resource.h"
#include "tests/support/modal.h"

namespace azu {
namespace {

class ZorneSearchDlgTest : public testing::Test {
 protected:
  void SetUp() override {
    ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
  }
  static QTreeWidget* ListOf(QWidget* window) {
    return window->findChild<QTreeWidget*>(ControlName(CZorneSearchDlg::kListId));
  }
  static void Click(QWidget* window, int id) {
    QTest::mouseClick(window->findChild<QPushButton*>(ControlName(id)), Qt::LeftButton);
  }
};

TEST_F(ZorneSearchDlgTest, ListsEntriesSortedInOneColumnAsWideAsTheWidestPlusSeven) {
  CZorneSearchDlg dialog;
  dialog.servers = {"10.1.2.9 zeta(QV5010)", "10.1.2.3 lab(QV5020)", "10.1.2.5 annex(QV5040)"};
  QStringList shown;
  int columnWidth = 0;
  int widest = 0;
  bool headerHidden = false;
  QString caption;
  test::WhenModalShown([&](QWidget* window) {
    QTreeWidget* list = ListOf(window);
    for (int i = 0; i < list->topLevelItemCount(); ++i) shown << list->topLevelItem(i)->text(0);
    columnWidth = list->columnWidth(0);
    for (const QString& text : shown) {
      widest = std::max(widest, QFontMetrics(list->font()).horizontalAdvance(text));
    }
    headerHidden = list->isHeaderHidden();
    caption = window->windowTitle();
    Click(window, IDCANCEL);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(shown, (QStringList{"10.1.2.3 lab(QV5020)", "10.1.2.5 annex(QV5040)",
                                "10.1.2.9 zeta(QV5010)"}));
  EXPECT_EQ(columnWidth, widest + 7);
  EXPECT_TRUE(headerHidden);
  EXPECT_EQ(caption, QStringLiteral("Zorne Search"));
}

TEST_F(ZorneSearchDlgTest, OkGivesTheAddressOfTheSelectedEntry) {
  CZorneSearchDlg dialog;
  dialog.servers = {"10.1.2.9 zeta(QV5010)", "10.1.2.3 lab(QV5020)"};
  test::WhenModalShown([&](QWidget* window) {
    QTreeWidget* list = ListOf(window);
    const auto found = list->findItems(QStringLiteral("10.1.2.3 lab(QV5020)"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    list->setCurrentItem(found.front());
    Click(window, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.chosen, "10.1.2.3");
}

TEST_F(ZorneSearchDlgTest, EmptyListOkKeepsTheChosenTextAndClearingTheSelectionEmptiesIt) {
  CZorneSearchDlg dialog;
  dialog.chosen = "10.9.9.9";
  int columnWidth = -1;
  test::WhenModalShown([&](QWidget* window) {
    columnWidth = ListOf(window)->columnWidth(0);
    Click(window, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.chosen, "10.9.9.9");  // only a selection change sets it
  EXPECT_EQ(columnWidth, 7);

  dialog.servers = {"10.1.2.3 lab(QV5020)"};
  test::WhenModalShown([&](QWidget* window) {
    QTreeWidget* list = ListOf(window);
    list->setCurrentItem(list->topLevelItem(0));
    list->clearSelection();
    Click(window, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.chosen, "");
}

TEST_F(ZorneSearchDlgTest, EntryWithoutABlankIsChosenWhole) {
  CZorneSearchDlg dialog;
  dialog.servers = {"lonely"};
  test::WhenModalShown([&](QWidget* window) {
    QTreeWidget* list = ListOf(window);
    list->setCurrentItem(list->topLevelItem(0));
    Click(window, IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.chosen, "lonely");
}

}  // namespace
}  // namespace azu
