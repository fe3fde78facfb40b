// The main window: series and their tab sets, the description line, the server field across
// tab and series changes, Enter, the keyboard alone, names for screen readers, Search... with
// its filter, the hand-over to the pages, About.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/text_table.h"
#include "framework/qt/multi_row_tab_bar.h"
#include "framework/qt/qt_dialog.h"
#include "framework/recording_message_sink.h"
#include "pages/admin_dlg.h"
#include "pages/dual_ip_dlg.h"
#include "pages/ftp_dlg.h"
#include "platform/resource.h"
#include "tests/support/discovered_record.h"
#include "tests/support/fake_library.h"
#include "tests/support/modal.h"
#include "tests/support/temp_folder.h"
#include "ui/azu_quorvane_config_dlg.h"

namespace azu {
namespace {

using test::Record;

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
    ASSERT_TRUE(window.Create(nullptr));
    QtWidget(window.Window())->show();
  }

  QStringList TabTexts() {
    QStringList texts;
    for (int i = 0; i < Bar()->count(); ++i) texts << Bar()->tabText(i);
    return texts;
  }
  MultiRowTabBar* Bar() {
    return QtWidget(window.Window())->findChild<MultiRowTabBar*>(QStringLiteral("tabBar"));
  }
  QComboBox* SeriesList() { return Find<QComboBox>(1041); }
  QLineEdit* ServerField() { return Find<QLineEdit>(1018); }
  QString Description() { return Find<QLabel>(1061)->text(); }
  template <typename T>
  T* Find(int id) {
    return QtWidget(window.Window())->findChild<T*>(ControlName(id), Qt::FindDirectChildrenOnly);
  }
  void ChooseSeries(int index) {
    SeriesList()->setCurrentIndex(index);
    emit SeriesList()->activated(index);  // as the user's choice in the list does
  }

  test::TempFolderScope folder;
  test::FakeLibrary library;
  RecordingMessageSink recorder;
  ScopedMessageSink installed{recorder};
  int prompts = 0;
  std::vector<DiscoveredServer> found;
  CAzuQuorvaneConfigDlg window{PageServices{library,
                                            [this]() -> std::optional<std::string> {
                                              ++prompts;
                                              return std::string("RONDEL");
                                            }},
                               [this](DiscoveredServer* records, int capacity, int* count) {
                                 *count = std::min(static_cast<int>(found.size()), capacity);
                                 std::copy_n(found.begin(), *count, records);
                               }};
};

TEST_F(MainWindowTest, StartsWithTheQV5000SeriesAndItsSnmpPage) {
  EXPECT_EQ(SeriesList()->count(), 5);
  EXPECT_EQ(SeriesList()->currentText(), QStringLiteral("QV5000 Series"));
  EXPECT_EQ(SeriesList()->itemText(4), QStringLiteral("QV1000 Series"));
  EXPECT_EQ(TabTexts(), (QStringList{"SNMP", "Admin"}));
  EXPECT_EQ(Bar()->currentIndex(), 0);
  ASSERT_NE(window.CurrentPage(), nullptr);
  EXPECT_TRUE(QtWidget(window.CurrentPage()->Window())->isVisible());
  EXPECT_EQ(window.CurrentPage()->Template().id, 139);
  EXPECT_EQ(Description(),
            QStringLiteral("Allows you to configure the Zorne Controller to use the proper SNMP "
                           "version and security settings."));
  EXPECT_EQ(Find<QPushButton>(1)->text(), QStringLiteral("Configure..."));
  EXPECT_EQ(Find<QPushButton>(2)->text(), QStringLiteral("Close"));
  EXPECT_EQ(Find<QPushButton>(1019)->text(), QStringLiteral("Search..."));
  EXPECT_EQ(window.Series()->GetSeriesNumber(), 5000);
}

TEST_F(MainWindowTest, EachSeriesBringsItsTabSetWithTheFirstPageShown) {
  const std::vector<QStringList> sets{
      {"SNMP", "Admin"},
      {"Print Accounting", "Scan to FTP", "SNMP", "HTTP", "Admin"},
      {"Print Accounting", "Scan to FTP", "SNMP", "HTTP", "Admin"},
      {"Print Tallyon", "Scan to FTP"},
      {"Print Tallyon", "Dual IP", "Scan to FTP"},
  };
  const int firstPages[] = {139, 142, 142, 130, 130};
  for (int index : {4, 1, 3, 2, 0}) {
    ChooseSeries(index);
    EXPECT_EQ(TabTexts(), sets[static_cast<std::size_t>(index)]) << index;
    ASSERT_NE(window.CurrentPage(), nullptr);
    EXPECT_EQ(window.CurrentPage()->Template().id, firstPages[index]);
    EXPECT_TRUE(QtWidget(window.CurrentPage()->Window())->isVisible());
  }
  ChooseSeries(4);
  EXPECT_EQ(Description(), QStringLiteral("For printing Zorne Controller system pages, such as "
                                          "the Job Log and Start page."));
}

TEST_F(MainWindowTest, TypedServerTextSurvivesTabAndSeriesChanges) {
  ServerField()->setText(QStringLiteral("zorne-lab"));
  Bar()->setCurrentIndex(1);  // as a click on the Admin tab
  EXPECT_EQ(ServerField()->text(), QStringLiteral("zorne-lab"));
  EXPECT_EQ(window.CurrentPage()->Template().id, 141);
  EXPECT_EQ(Description(), QStringLiteral("Allows you to set the printer administrator password."));
  ServerField()->setText(QStringLiteral("zorne-2"));
  ChooseSeries(1);
  EXPECT_EQ(ServerField()->text(), QStringLiteral("zorne-2"));
}

TEST_F(MainWindowTest, EnterInTheServerFieldRunsConfigureOnTheCurrentPage) {
  Bar()->setCurrentIndex(1);
  auto* admin = dynamic_cast<CAdminDlg*>(window.CurrentPage());
  ASSERT_NE(admin, nullptr);
  qobject_cast<QLineEdit*>(QtWidget(admin->Item(1015)))->setText(QStringLiteral("secret"));
  ServerField()->setText(QStringLiteral("10.0.0.5"));
  QTest::keyClick(ServerField(), Qt::Key_Return);
  EXPECT_EQ(prompts, 1);
  EXPECT_EQ(admin->serverName, "10.0.0.5");
  EXPECT_EQ(library.files["/not-scsi0/config_files/engineInfo"], "secret\r\n");
  EXPECT_TRUE(QtWidget(window.Window())->isVisible());  // Configure never closes the window
}

TEST_F(MainWindowTest, SearchListsOnlyTheSeriesServersAndPutsTheChosenAddressInTheField) {
  found = {Record("10.0.0.1", "alpha", "QV5010"), Record("10.0.0.2", "beta", "QV4010"),
           DiscoveredServer{}, Record("10.0.0.3", "gamma", "qv5030")};
  QStringList listed;
  test::WhenModalShown([&listed](QWidget* dialog) {
    auto* list = dialog->findChild<QTreeWidget*>(ControlName(1001));
    for (int i = 0; i < list->topLevelItemCount(); ++i) listed << list->topLevelItem(i)->text(0);
    list->setCurrentItem(list->topLevelItem(1));
    QTest::mouseClick(dialog->findChild<QPushButton*>(ControlName(1)), Qt::LeftButton);
  });
  QTest::mouseClick(Find<QPushButton>(1019), Qt::LeftButton);
  EXPECT_EQ(listed, (QStringList{"10.0.0.1 alpha(QV5010)", "10.0.0.3 gamma(qv5030)"}));
  EXPECT_EQ(ServerField()->text(), QStringLiteral("10.0.0.3"));
  // The list keeps the discovery's order from the last server to the first.
  EXPECT_EQ(window.DiscoveredServers(),
            (std::vector<std::string>{"10.0.0.3 gamma(qv5030)", "10.0.0.1 alpha(QV5010)"}));

  test::WhenModalShown([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
  ServerField()->setText(QStringLiteral("typed"));
  QTest::mouseClick(Find<QPushButton>(1019), Qt::LeftButton);
  EXPECT_EQ(ServerField()->text(), QStringLiteral("typed"));  // Cancel changes nothing
}

TEST_F(MainWindowTest, ConfigureHandsTheDiscoveredListOnlyToTheDualIpPage) {
  found = {Record("10.0.0.7", "eta", "QV1020")};
  ChooseSeries(4);
  test::WhenModalShown([](QWidget* dialog) {
    QTest::mouseClick(dialog->findChild<QPushButton*>(ControlName(1)), Qt::LeftButton);
  });
  QTest::mouseClick(Find<QPushButton>(1019), Qt::LeftButton);
  ServerField()->setText(QStringLiteral("eta"));

  Bar()->setCurrentIndex(1);
  auto* dualIp = dynamic_cast<CDualIPDlg*>(window.CurrentPage());
  ASSERT_NE(dualIp, nullptr);
  QTest::mouseClick(Find<QPushButton>(1), Qt::LeftButton);
  EXPECT_EQ(dualIp->serverName, "eta");
  EXPECT_EQ(dualIp->servers, std::vector<std::string>{"10.0.0.7 eta(QV1020)"});

  Bar()->setCurrentIndex(2);
  auto* ftp = dynamic_cast<CFTPDlg*>(window.CurrentPage());
  ASSERT_NE(ftp, nullptr);
  QTest::mouseClick(Find<QPushButton>(1), Qt::LeftButton);
  EXPECT_EQ(ftp->serverName, "eta");
}

TEST_F(MainWindowTest, AboutEntryFollowsASeparatorAndOpensTheAboutBox) {
  const QList<QAction*> actions = QtWidget(window.Window())->actions();
  ASSERT_EQ(actions.size(), 2);
  EXPECT_TRUE(actions[0]->isSeparator());
  EXPECT_EQ(actions[1]->text(), QStringLiteral("&About Azu Quorvane Config..."));
  QString caption;
  test::WhenModalShown([&caption](QWidget* dialog) {
    caption = dialog->windowTitle();
    QTest::mouseClick(dialog->findChild<QPushButton*>(ControlName(1)), Qt::LeftButton);
  });
  actions[1]->trigger();
  EXPECT_EQ(caption, QStringLiteral("About Azu Quorvane Config"));

  // Asked for over a page, the menu is still the window's.
  QStringList entries;
  test::WhenPopupShown([&entries](QWidget* popup) {
    for (const QAction* action : popup->actions()) entries << action->text();
    popup->close();
  });
  QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
  QApplication::sendEvent(QtWidget(window.CurrentPage()->Window()), &request);
  EXPECT_TRUE(entries.contains(QStringLiteral("&About Azu Quorvane Config...")));
}

// Without a mouse: Tab walks the window in template order, into the shown page and on to
// Configure... and Close; Ctrl+Tab and the arrows change tabs; a page is filled and configured.
TEST_F(MainWindowTest, EveryPageCanBeConfiguredFromTheKeyboard) {
  QApplication::setActiveWindow(QtWidget(window.Window()));
  ASSERT_TRUE(QTest::qWaitForWindowActive(QtWidget(window.Window())));
  const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    return QApplication::focusWidget();
  };
  ServerField()->setFocus();
  ServerField()->setText(QStringLiteral("zorne-lab"));
  press(Qt::Key_Tab, Qt::ControlModifier);
  auto* admin = dynamic_cast<CAdminDlg*>(window.CurrentPage());
  ASSERT_NE(admin, nullptr);
  EXPECT_EQ(Description(), QStringLiteral("Allows you to set the printer administrator password."));

  SeriesList()->setFocus();
  const std::vector<QWidget*> expected{
      ServerField(),    Find<QWidget>(1019), Bar(),       QtWidget(admin->Item(1015)),
      Find<QWidget>(1), Find<QWidget>(2),    SeriesList()};
  std::vector<QWidget*> walked;
  for (std::size_t i = 0; i < expected.size(); ++i) walked.push_back(press(Qt::Key_Tab));
  EXPECT_EQ(walked, expected);
  EXPECT_EQ(press(Qt::Key_Backtab, Qt::ShiftModifier), Find<QWidget>(2));
  EXPECT_EQ(press(Qt::Key_Backtab, Qt::ShiftModifier), Find<QWidget>(1));
  EXPECT_EQ(press(Qt::Key_Backtab, Qt::ShiftModifier), QtWidget(admin->Item(1015)));
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("secret"));
  EXPECT_TRUE(Find<QPushButton>(1)->isDefault());  // drawn as default and pressed by Enter
  EXPECT_FALSE(Find<QPushButton>(1019)->isDefault());
  EXPECT_EQ(press(Qt::Key_Tab), Find<QWidget>(1));
  press(Qt::Key_Space);
  EXPECT_EQ(prompts, 1);
  EXPECT_EQ(library.files["/not-scsi0/config_files/engineInfo"], "secret\r\n");

  Bar()->setFocus();
  press(Qt::Key_Left);
  EXPECT_EQ(window.CurrentPage()->Template().id, 139);  // SNMP
  press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(window.CurrentPage(), admin);
  EXPECT_EQ(Description(), QStringLiteral("Allows you to set the printer administrator password."));
}

// Every field of every page, and the server field, is announced by its label, never as a bare
// "edit".
TEST_F(MainWindowTest, ScreenReadersGetEveryFieldsLabel) {
  const auto name = [](QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
  };
  EXPECT_EQ(name(ServerField()), QStringLiteral("Zorne Server Name or IP:"));
  int fields = 0;
  for (int series = 0; series < 5; ++series) {
    ChooseSeries(series);
    for (int tab = 0; tab < Bar()->count(); ++tab) {
      Bar()->setCurrentIndex(tab);
      const CPage* page = window.CurrentPage();
      for (const ControlTemplate& control : page->Template().controls) {
        if (control.kind != ControlKind::Edit && control.kind != ControlKind::ComboBox &&
            control.kind != ControlKind::IPAddress) {
          continue;
        }
        ++fields;
        EXPECT_FALSE(name(QtWidget(page->Item(control.id))).isEmpty())
            << page->Template().id << " " << control.id;
      }
    }
  }
  EXPECT_GE(fields, 20);
}

// The description of every page wraps within its sunken static, in every language.
TEST_F(MainWindowTest, DescriptionsWrapInsideTheirStaticInEveryLanguage) {
  auto* label = Find<QLabel>(1061);
  for (const char* language : {"en", "fr", "it", "de", "es", "pt", "nl"}) {
    ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), language);
    for (int series = 0; series < 5; ++series) {
      ChooseSeries(series);
      for (int tab = 0; tab < Bar()->count(); ++tab) {
        Bar()->setCurrentIndex(tab);
        const QRect text = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                          -label->margin(), -label->margin());
        const QRect needed = label->fontMetrics().boundingRect(
            text, static_cast<int>(label->alignment()) | Qt::TextWordWrap, label->text());
        EXPECT_TRUE(text.contains(needed)) << language << " " << label->text().toStdString();
      }
    }
  }
}

TEST_F(MainWindowTest, CloseEndsTheWindow) {
  QTest::keyClick(ServerField(), Qt::Key_Escape);
  EXPECT_FALSE(QtWidget(window.Window())->isVisible());
  EXPECT_EQ(window.Series(), nullptr);
}

}  // namespace
}  // namespace azu
