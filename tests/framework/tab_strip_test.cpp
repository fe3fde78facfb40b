// The multi-row tab strip: every tab whole, inside the bar and apart in every language, the
// selected tab's row next to the page, clicks and keys, the wrapper's silence, and what a screen
// reader sees.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QSignalSpy>
#include <QStyleOptionTab>
#include <QTest>
#include <algorithm>
#include <array>
#include <functional>
#include <vector>

#include "app/text_table.h"
#include "framework/qt/dialog_units.h"
#include "framework/qt/qt_dialog.h"
#include "framework/qt/qt_text.h"
#include "framework/qt/tab_strip_widget.h"
#include "framework/tab_control.h"
#include "platform/resource.h"

namespace azu {
namespace {

using Keys = std::vector<const char*>;
const Keys kQV4000Tabs{"L_PRINTACCOUNTING", "L_SCANTOFTP", "L_SNMP", "L_HTTP", "L_ADMIN"};
const Keys kQV1000Tabs{"L_PRINTTALLYON", "L_DUALIP", "L_SCANTOFTP"};
const Keys kQV5000Tabs{"L_SNMP", "L_ADMIN"};
constexpr std::array kLanguages{"en", "fr", "it", "de", "es", "pt", "nl"};

enum class Width { Natural, MainWindow, WidestTab };

// A strip filled through the wrapper, as the main window fills it, with its bar `barWidth` wide.
class Strip {
 public:
  Strip(const char* language, const Keys& keys, int barWidth) {
    table_.Load(platform::FindRawResource(platform::kTextTableResourceId), language);
    strip_.resize(barWidth + 4, 400);
    for (const char* key : keys) tabs_.InsertItem(tabs_.GetItemCount(), table_.Get(key), nullptr);
    strip_.show();
  }
  [[nodiscard]] MultiRowTabBar* Bar() const { return strip_.Bar(); }
  [[nodiscard]] TabStripWidget& Widget() { return strip_; }
  [[nodiscard]] TabControl& Tabs() { return tabs_; }
  [[nodiscard]] QStringList Texts() const {
    QStringList texts;
    for (int i = 0; i < Bar()->count(); ++i) texts << Bar()->tabText(i);
    return texts;
  }

 private:
  TextTable table_;
  TabStripWidget strip_;
  TabControl tabs_{HandleOf(&strip_)};
};

int BarWidth(Width kind, const char* language, const Keys& keys) {
  if (kind == Width::MainWindow) {
    // The strip of the main dialog, at the dialog font.
    return DialogUnitsToPixels(6, 40, 306, 176, BaseUnitsOf(QApplication::font())).width() - 4;
  }
  const Strip probe(language, keys, 100000);  // one row: every tab at its natural width
  int sum = 0;
  int widest = 0;
  for (int i = 0; i < probe.Bar()->count(); ++i) {
    sum += probe.Bar()->tabRect(i).width();
    widest = std::max(widest, probe.Bar()->tabRect(i).width());
  }
  return kind == Width::Natural ? sum : widest;
}

void ExpectWholeTabs(const MultiRowTabBar& bar, const TabControl& tabs) {
  const QFontMetrics metrics = bar.fontMetrics();
  EXPECT_EQ(bar.geometry(), QRect(2, 0, bar.width(), bar.rowCount() * bar.rowHeight()));
  EXPECT_EQ(tabs.ExtraRowsHeight(), (bar.rowCount() - 1) * bar.rowHeight());
  std::vector<int> filled(static_cast<std::size_t>(bar.rowCount()), 0);
  std::vector<int> tabsInRow(filled.size(), 0);
  for (int i = 0; i < bar.count(); ++i) {
    const QRect rect = bar.tabRect(i);
    EXPECT_TRUE(bar.rect().contains(rect)) << i;
    for (int j = i + 1; j < bar.count(); ++j) EXPECT_FALSE(rect.intersects(bar.tabRect(j))) << i;
    QStyleOptionTab option;
    bar.initStyleOption(&option, i);
    EXPECT_EQ(option.text, bar.tabText(i));  // not elided
    const QRect room = bar.style()->subElementRect(QStyle::SE_TabBarTabText, &option, &bar);
    EXPECT_GE(room.width(), metrics.horizontalAdvance(bar.tabText(i))) << i;
    filled[static_cast<std::size_t>(rect.top() / bar.rowHeight())] += rect.width();
    ++tabsInRow[static_cast<std::size_t>(rect.top() / bar.rowHeight())];
  }
  // Balanced as Windows balances them: no row has two tabs more than another.
  const auto [fewest, most] = std::minmax_element(tabsInRow.begin(), tabsInRow.end());
  EXPECT_LE(*most - *fewest, 1);
  if (bar.rowCount() > 1) {
    for (int width : filled) EXPECT_EQ(width, bar.width());  // rows are stretched
  }
  EXPECT_EQ(bar.tabRect(bar.currentIndex()).bottom(), bar.height() - 1);
}

TEST(TabStripTest, EveryTabIsWholeAndApartInEveryLanguageWhicheverTabIsSelected) {
  struct Case {
    const Keys* keys;
    Width width;
  };
  const Case cases[] = {
      {&kQV4000Tabs, Width::Natural},   {&kQV4000Tabs, Width::MainWindow},
      {&kQV4000Tabs, Width::WidestTab}, {&kQV1000Tabs, Width::MainWindow},
      {&kQV1000Tabs, Width::WidestTab}, {&kQV5000Tabs, Width::WidestTab},
  };
  for (const char* language : kLanguages) {
    for (const Case& c : cases) {
      Strip strip(language, *c.keys, BarWidth(c.width, language, *c.keys));
      SCOPED_TRACE(testing::Message() << language << " " << strip.Texts().join('|').toStdString()
                                      << " in " << strip.Bar()->width() << " px");
      if (c.width == Width::Natural) {
        EXPECT_EQ(strip.Tabs().RowCount(), 1);
      } else if (c.width == Width::WidestTab) {
        EXPECT_GT(strip.Tabs().RowCount(), 1);
      }
      for (int selected = 0; selected < strip.Bar()->count(); ++selected) {
        strip.Bar()->setCurrentIndex(selected);
        ExpectWholeTabs(*strip.Bar(), strip.Tabs());
      }
    }
  }
}

// French QV4000 in the main window: 3 and 2, where packing greedily gave 4 and 1.
TEST(TabStripTest, RowsAreBalancedAsTheWindowsTabControlBalancesThem) {
  Strip strip("fr", kQV4000Tabs, BarWidth(Width::MainWindow, "fr", kQV4000Tabs));
  ASSERT_EQ(strip.Bar()->rowCount(), 2);
  std::vector<int> tops;
  for (int i = 0; i < strip.Bar()->count(); ++i) tops.push_back(strip.Bar()->tabRect(i).top());
  EXPECT_EQ(std::count(tops.begin(), tops.end(), tops.front()), 3);
  EXPECT_EQ(std::count(tops.begin(), tops.end(), tops.back()), 2);
}

TEST(TabStripTest, ClickSelectsTheTabUnderThePointerWhereverItsRowWent) {
  Strip strip("fr", kQV4000Tabs, BarWidth(Width::WidestTab, "fr", kQV4000Tabs));
  MultiRowTabBar* bar = strip.Bar();
  ASSERT_GT(bar->rowCount(), 2);
  QSignalSpy changes(bar, &MultiRowTabBar::currentChanged);
  for (int index : {4, 0, 3, 1, 2}) {
    changes.clear();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    EXPECT_EQ(bar->currentIndex(), index);
    ASSERT_EQ(changes.size(), 1) << index;
    EXPECT_EQ(changes[0][0].toInt(), index);
  }
  changes.clear();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
  EXPECT_EQ(changes.size(), 0);  // the selected tab again: no change
}

TEST(TabStripTest, KeysMoveWithoutWrappingAndSelectNextWraps) {
  struct Case {
    const char* name;
    int start;
    std::function<void(MultiRowTabBar&)> act;
    int expected;
  };
  const auto key = [](Qt::Key k) { return [k](MultiRowTabBar& bar) { QTest::keyClick(&bar, k); }; };
  const auto next = [](bool forward) {
    return [forward](MultiRowTabBar& bar) { bar.selectNext(forward); };
  };
  const Case cases[] = {
      {"Left", 3, key(Qt::Key_Left), 2},
      {"Left at first", 0, key(Qt::Key_Left), 0},
      {"Right at last", 4, key(Qt::Key_Right), 4},
      {"Home", 3, key(Qt::Key_Home), 0},
      {"End", 1, key(Qt::Key_End), 4},
      {"next at last", 4, next(true), 0},
  };
  Strip strip("fr", kQV4000Tabs, BarWidth(Width::MainWindow, "fr", kQV4000Tabs));
  MultiRowTabBar* bar = strip.Bar();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bar->setCurrentIndex(c.start);
    QSignalSpy changes(bar, &MultiRowTabBar::currentChanged);
    c.act(*bar);
    EXPECT_EQ(bar->currentIndex(), c.expected);
    EXPECT_EQ(changes.size(), c.expected != c.start ? 1 : 0);
  }
}

TEST(TabStripTest, WrapperCallsNeverNotifyAndRefitTheBar) {
  Strip strip("fr", {}, BarWidth(Width::MainWindow, "fr", kQV4000Tabs));
  QSignalSpy changes(strip.Bar(), &MultiRowTabBar::currentChanged);
  TabControl& tabs = strip.Tabs();
  int page = 0;
  for (const char* text : {"Comptabilit\xE9 d'impression", "Num\xE9risation vers FTP", "SNMP"})
    tabs.InsertItem(tabs.GetItemCount(), text, &page);
  EXPECT_EQ(tabs.GetCurSel(), 0);
  EXPECT_EQ(tabs.GetItemParam(2), &page);
  EXPECT_EQ(strip.Texts()[0], QStringLiteral("Comptabilité d'impression"));
  tabs.DeleteAllItems();
  EXPECT_EQ(tabs.GetCurSel(), -1);
  EXPECT_EQ(strip.Bar()->height(), 0);
  tabs.InsertItem(0, "Admin", &page);
  EXPECT_EQ(tabs.GetCurSel(), 0);
  EXPECT_EQ(tabs.RowCount(), 1);
  EXPECT_EQ(tabs.ExtraRowsHeight(), 0);
  EXPECT_EQ(strip.Bar()->height(), strip.Bar()->rowHeight());
  EXPECT_EQ(changes.size(), 0);
}

TEST(TabStripTest, ScreenReaderSeesOnePressablePageTabPerTab) {
  Strip strip("fr", kQV4000Tabs, BarWidth(Width::MainWindow, "fr", kQV4000Tabs));
  MultiRowTabBar* bar = strip.Bar();
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(bar);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->role(), QAccessible::PageTabList);
  ASSERT_EQ(list->childCount(), bar->count());
  for (int i = 0; i < bar->count(); ++i) {
    QAccessibleInterface* tab = list->child(i);
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->role(), QAccessible::PageTab);
    EXPECT_EQ(tab->text(QAccessible::Name), bar->tabText(i));
    EXPECT_EQ(tab->state().selected, i == 0);
    EXPECT_EQ(list->indexOfChild(tab), i);
    EXPECT_EQ(tab->rect(),
              QRect(bar->mapToGlobal(bar->tabRect(i).topLeft()), bar->tabRect(i).size()));
  }
  QSignalSpy changes(bar, &MultiRowTabBar::currentChanged);
  list->child(3)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(bar->currentIndex(), 3);
  EXPECT_EQ(changes.size(), 1);
  EXPECT_TRUE(list->child(3)->state().selected);
}

// Tab onto the strip, then the arrows: the strip does not claim the focus; a reader asking it for
// the focus finds the page tab list, and in it the selected tab, focused and named. (The offscreen
// platform has no reader bridge, so Qt drops the focus events themselves here.)
TEST(TabStripTest, ScreenReaderFindsTheSelectedTabFocusedWhenTheStripTakesTheFocus) {
  Strip strip("fr", kQV4000Tabs, BarWidth(Width::MainWindow, "fr", kQV4000Tabs));
  MultiRowTabBar* bar = strip.Bar();
  bar->setCurrentIndex(2);
  QApplication::setActiveWindow(&strip.Widget());
  ASSERT_TRUE(QTest::qWaitForWindowActive(&strip.Widget()));
  strip.Widget().setFocus(Qt::TabFocusReason);  // as the window's Tab does with the strip's stop
  QAccessibleInterface* container = QAccessible::queryAccessibleInterface(&strip.Widget());
  EXPECT_FALSE(container->state().focused);
  QAccessibleInterface* list = container->focusChild();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->role(), QAccessible::PageTabList);
  EXPECT_TRUE(list->state().focused);
  for (int selected : {2, 3}) {
    SCOPED_TRACE(selected);
    EXPECT_EQ(bar->currentIndex(), selected);
    QAccessibleInterface* tab = list->focusChild();
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab, list->child(selected));
    EXPECT_EQ(tab->text(QAccessible::Name), bar->tabText(selected));
    EXPECT_TRUE(tab->state().focused);
    EXPECT_TRUE(tab->state().selected);
    EXPECT_FALSE(list->child(selected == 2 ? 3 : 2)->state().focused);
    QTest::keyClick(bar, Qt::Key_Right);
  }
}

}  // namespace
}  // namespace azu
