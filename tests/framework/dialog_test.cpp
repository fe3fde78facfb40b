// Dialogs built from templates: controls by id, placement in dialog units, modal results, key
// routing between a page and its window, single-line edits, labels as names, and the control
// wrappers.

#include "framework/dialog.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <array>

#include "framework/data_exchange.h"
#include "framework/ip_address_control.h"
#include "framework/message_box.h"
#include "framework/qt/dialog_units.h"
#include "framework/qt/qt_dialog.h"
#include "framework/recording_message_sink.h"
#include "tests/support/modal.h"

namespace azu {
namespace {

constexpr std::array kFormControls{
    ControlTemplate{1040, ControlKind::Static, 6, 24, 132, 8, style::kRight, "Server:"},
    ControlTemplate{1018, ControlKind::Edit, 144, 21, 102, 14, style::kAutoHScroll, nullptr},
    ControlTemplate{1057, ControlKind::Edit, 108, 48, 126, 14, style::kDisabled, nullptr},
    ControlTemplate{1063, ControlKind::ComboBox, 108, 12, 126, 41, style::kNone, nullptr},
    ControlTemplate{1041, ControlKind::ComboBox, 36, 6, 60, 42, style::kSort, nullptr},
    ControlTemplate{IDOK, ControlKind::DefPushButton, 6, 42, 50, 14, style::kNone, "OK"},
    ControlTemplate{IDCANCEL, ControlKind::PushButton, 60, 42, 50, 14, style::kNone, "Cancel"},
};
constexpr DialogTemplate kForm{900, 200, 80, DialogFrame::Modal, "Form", kFormControls};

constexpr std::array kPageControls{
    ControlTemplate{1018, ControlKind::Edit, 6, 6, 102, 14, style::kNone, nullptr},
};
constexpr DialogTemplate kPage{901, 290, 152, DialogFrame::Child, nullptr, kPageControls};

// A form with one text field; counts the commands it receives.
class FormDialog : public Dialog {
 public:
  FormDialog() : Dialog(kForm) {}
  std::string server = "initial";
  int okCommands = 0;

 protected:
  void DoDataExchange(DataExchange& dx) override { dx.Text(1018, server, 30); }
  void OnOK() override {
    ++okCommands;
    Dialog::OnOK();
  }
};

// A page: Enter inside it must do nothing at all.
class PageDialog : public Dialog {
 public:
  PageDialog() : Dialog(kPage) {}
  int okCommands = 0;

 protected:
  void OnOK() override { ++okCommands; }
  void OnCancel() override {}
};

TEST(DialogTemplate, ControlsAreFoundByIdAndPlacedInDialogUnits) {
  FormDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  QWidget* edit = QtWidget(dialog.Item(1018));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->objectName(), QStringLiteral("id1018"));
  const DialogBaseUnits units = BaseUnitsOf(QtWidget(dialog.Window())->font());
  EXPECT_GT(units.x, 0);
  EXPECT_GT(units.y, 0);
  EXPECT_EQ(edit->geometry(), DialogUnitsToPixels(144, 21, 102, 14, units));
  EXPECT_EQ(QtWidget(dialog.Window())->size(), DialogUnitsToPixels(0, 0, 200, 80, units).size());
  EXPECT_EQ(QtWidget(dialog.Item(4242)), nullptr);
  EXPECT_FALSE(QtWidget(dialog.Item(1057))->isEnabled());
  EXPECT_EQ(dialog.ItemText(1040), "Server:");
  EXPECT_TRUE(qobject_cast<QLabel*>(QtWidget(dialog.Item(1040)))->alignment() & Qt::AlignRight);
}

TEST(DialogTemplate, DialogUnitsFollowTheFontMetrics) {
  const DialogBaseUnits units{7, 16};
  EXPECT_EQ(DialogUnitsToPixels(4, 8, 40, 16, units), QRect(7, 16, 70, 32));
  EXPECT_EQ(DialogUnitsToPixels(6, 21, 102, 14, units), QRect(11, 42, 179, 28));  // rounded
}

TEST(DialogTemplate, NoWindowMeansNoControlsAndNoExchange) {
  FormDialog dialog;
  EXPECT_EQ(QtWidget(dialog.Window()), nullptr);
  EXPECT_EQ(QtWidget(dialog.Item(1018)), nullptr);
  EXPECT_FALSE(dialog.UpdateData(true));
  dialog.SetItemText(1018, "ignored");  // harmless without a window
}

TEST(DialogTemplate, ChildDialogControlsDoNotShadowTheParents) {
  FormDialog parent;
  ASSERT_TRUE(parent.Create(nullptr));
  PageDialog page;
  ASSERT_TRUE(page.Create(parent.Window()));
  EXPECT_EQ(QtWidget(page.Window())->parentWidget(), QtWidget(parent.Window()));
  EXPECT_FALSE(QtWidget(page.Window())->isWindow());  // inside the parent, not a window of its own
  EXPECT_FALSE(
      QtWidget(page.Window())->isVisibleTo(QtWidget(parent.Window())));  // pages start hidden
  page.SetItemText(1018, "page text");
  parent.SetItemText(1018, "parent text");
  EXPECT_EQ(page.ItemText(1018), "page text");
  EXPECT_EQ(parent.ItemText(1018), "parent text");
  page.DestroyWindow();
  EXPECT_EQ(QtWidget(page.Window()), nullptr);
  EXPECT_EQ(parent.ItemText(1018), "parent text");
}

TEST(DialogTemplate, ParentDestroyingThePageWindowLeavesThePageObjectSafe) {
  PageDialog page;
  {
    FormDialog parent;
    ASSERT_TRUE(parent.Create(nullptr));
    ASSERT_TRUE(page.Create(parent.Window()));
  }
  EXPECT_EQ(QtWidget(page.Window()), nullptr);
  page.DestroyWindow();
}

TEST(DialogModalRun, OkStoresTheFieldsAndReturnsIdOk) {
  FormDialog dialog;
  test::WhenModalShown([](QWidget* window) {
    auto* edit = window->findChild<QLineEdit*>(ControlName(1018));
    edit->setText(QStringLiteral("zorne-7"));
    window->findChild<QWidget*>(ControlName(IDOK))->setFocus();
    QTest::mouseClick(window->findChild<QWidget*>(ControlName(IDOK)), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.server, "zorne-7");
  EXPECT_EQ(QtWidget(dialog.Window()), nullptr);  // the window ends with the run
}

TEST(DialogModalRun, EscapeAndTheCloseBoxCancelWithoutStoring) {
  FormDialog dialog;
  test::WhenModalShown([](QWidget* window) {
    window->findChild<QLineEdit*>(ControlName(1018))->setText(QStringLiteral("typed"));
    QTest::keyClick(window, Qt::Key_Escape);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.server, "initial");

  test::WhenModalShown([](QWidget* window) { window->close(); });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST(DialogModalRun, EnterInAFieldSendsTheDefaultCommand) {
  FormDialog dialog;
  test::WhenModalShown([](QWidget* window) {
    auto* edit = window->findChild<QLineEdit*>(ControlName(1018));
    edit->setText(QStringLiteral("by-enter"));
    QTest::keyClick(edit, Qt::Key_Return);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.okCommands, 1);
  EXPECT_EQ(dialog.server, "by-enter");
}

TEST(DialogKeys, EnterAndEscapeInsideAPageAreTheWindows) {
  FormDialog parent;
  ASSERT_TRUE(parent.Create(nullptr));
  PageDialog page;
  ASSERT_TRUE(page.Create(parent.Window()));
  page.Show(true);
  QtWidget(parent.Window())->show();
  QWidget* pageEdit = QtWidget(page.Item(1018));
  QTest::keyClick(pageEdit, Qt::Key_Return);
  EXPECT_EQ(page.okCommands, 0);
  EXPECT_EQ(parent.okCommands, 1);
  QTest::keyClick(pageEdit, Qt::Key_Escape);
  EXPECT_FALSE(QtWidget(parent.Window())->isVisible());
}

TEST(DialogKeys, TheButtonDrawnAsDefaultIsTheOneEnterPresses) {
  FormDialog form;  // a default push button in its template
  ASSERT_TRUE(form.Create(nullptr));
  EXPECT_EQ(form.DefaultCommand(), IDOK);
  EXPECT_TRUE(qobject_cast<QPushButton*>(QtWidget(form.Item(IDOK)))->isDefault());
  EXPECT_FALSE(qobject_cast<QPushButton*>(QtWidget(form.Item(IDCANCEL)))->isDefault());

  static constexpr std::array kControls{
      ControlTemplate{1019, ControlKind::PushButton, 6, 6, 50, 14, style::kTabStop, "Search..."},
      ControlTemplate{IDOK, ControlKind::PushButton, 60, 6, 50, 14, style::kTabStop, "Go"},
  };
  static constexpr DialogTemplate kPlain{903, 120, 30, DialogFrame::Modal, nullptr, kControls};
  Dialog plain(kPlain);
  ASSERT_TRUE(plain.Create(nullptr));
  EXPECT_TRUE(qobject_cast<QPushButton*>(QtWidget(plain.Item(IDOK)))->isDefault());
  EXPECT_FALSE(qobject_cast<QPushButton*>(QtWidget(plain.Item(1019)))->isDefault());
}

// Text reaching a single-line edit in any way keeps nothing after its first line break; what
// the field held around the insertion stays.
TEST(DialogKeys, SingleLineEditsCutInsertedTextAtTheFirstLineBreak) {
  static constexpr std::array kControls{
      ControlTemplate{1042, ControlKind::Edit, 6, 6, 102, 14, style::kTabStop, nullptr},
      ControlTemplate{1046, ControlKind::Edit, 6, 24, 40, 14, style::kNumber, nullptr},
  };
  static constexpr DialogTemplate kEdits{904, 120, 40, DialogFrame::Modal, nullptr, kControls};
  struct Case {
    int id;
    const char* before;
    int cursor;
    const char* inserted;
    const char* after;
  };
  const Case cases[] = {
      {1042, "", 0, "pub\nURL=6.6.6.6", "pub"}, {1042, "abcdef", 3, "X\r\nY", "abcXdef"},
      {1042, "abc", 3, "\rtail", "abc"},        {1042, "abc", 0, "\n", "abc"},
      {1046, "", 0, "8080\n8443", "8080"},      {1046, "80", 2, "x", "80"},  // digits only
  };
  Dialog dialog(kEdits);
  ASSERT_TRUE(dialog.Create(nullptr));
  for (const Case& c : cases) {
    auto* edit = qobject_cast<QLineEdit*>(QtWidget(dialog.Item(c.id)));
    edit->setText(QString::fromUtf8(c.before));
    edit->setCursorPosition(c.cursor);
    edit->insert(QString::fromUtf8(c.inserted));  // what typing, pasting and dropping do
    EXPECT_EQ(edit->text(), QString::fromUtf8(c.after)) << c.before << " + " << c.inserted;
  }
  auto* edit = qobject_cast<QLineEdit*>(QtWidget(dialog.Item(1042)));
  edit->clear();
  QGuiApplication::clipboard()->setText(QStringLiteral("pub\r\nURL=6.6.6.6"));
  edit->paste();
  EXPECT_EQ(edit->text(), QStringLiteral("pub"));
  edit->setText(QStringLiteral("one\ntwo"));
  EXPECT_EQ(edit->text(), QStringLiteral("one"));
}

// A field is announced by the static that labels it: the one on its row to its left, else the
// one before it; the label's mnemonic focuses the field.
TEST(DialogAccessibility, FieldsAreNamedByTheirLabels) {
  static constexpr std::array kControls{
      ControlTemplate{1034, ControlKind::Static, 6, 9, 60, 8, style::kRight, "&Destination:"},
      ControlTemplate{1035, ControlKind::Static, 6, 24, 120, 8, style::kNone, "(leave blank)"},
      ControlTemplate{1019, ControlKind::Edit, 70, 6, 100, 14, style::kTabStop, nullptr},
      ControlTemplate{1014, ControlKind::Static, 6, 40, 120, 8, style::kNone, "Password:"},
      ControlTemplate{1015, ControlKind::Edit, 6, 52, 100, 14, style::kPassword, nullptr},
      ControlTemplate{1026, ControlKind::Static, 6, 72, 60, 8, style::kRight, "IP Address:"},
      ControlTemplate{1008, ControlKind::IPAddress, 70, 70, 100, 15, style::kTabStop, nullptr},
  };
  static constexpr DialogTemplate kLabelled{905, 180, 90, DialogFrame::Modal, nullptr, kControls};
  Dialog dialog(kLabelled);
  ASSERT_TRUE(dialog.Create(nullptr));
  const auto name = [](QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
  };
  EXPECT_EQ(name(QtWidget(dialog.Item(1019))), QStringLiteral("Destination:"));
  EXPECT_EQ(name(QtWidget(dialog.Item(1015))), QStringLiteral("Password:"));
  EXPECT_EQ(name(QtWidget(dialog.Item(1008))), QStringLiteral("IP Address:"));
  EXPECT_EQ(name(QtWidget(dialog.Item(1008))->findChild<QLineEdit*>(QStringLiteral("octet2"))),
            QStringLiteral("IP Address:"));
  dialog.SetItemText(1014, "Mot de passe :");  // the table's text, set at run time
  EXPECT_EQ(name(QtWidget(dialog.Item(1015))), QStringLiteral("Mot de passe :"));

  QtWidget(dialog.Window())->show();
  QApplication::setActiveWindow(QtWidget(dialog.Window()));
  ASSERT_TRUE(QTest::qWaitForWindowActive(QtWidget(dialog.Window())));
  QtWidget(dialog.Item(1015))->setFocus();
  QTest::keyClick(QtWidget(dialog.Window()), Qt::Key_D, Qt::AltModifier);
  EXPECT_TRUE(QtWidget(dialog.Item(1019))->hasFocus());
}

TEST(DialogExchange, TextLimitIsSetOnLoadAndHeldOnSave) {
  FormDialog dialog;
  dialog.server = "abc";
  ASSERT_TRUE(dialog.Create(nullptr));
  auto* edit = qobject_cast<QLineEdit*>(QtWidget(dialog.Item(1018)));
  EXPECT_EQ(edit->text(), QStringLiteral("abc"));
  EXPECT_EQ(edit->maxLength(), 30);
  edit->clear();
  QTest::keyClicks(edit, QString(31, QLatin1Char('x')));
  EXPECT_EQ(edit->text().size(), 30);
  ASSERT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(dialog.server, std::string(30, 'x'));
}

TEST(DialogExchange, TextTravelsAsWindows1252) {
  FormDialog dialog;
  dialog.server = "Caf\xE9 \x80";  // "Café €"
  ASSERT_TRUE(dialog.Create(nullptr));
  auto* edit = qobject_cast<QLineEdit*>(QtWidget(dialog.Item(1018)));
  EXPECT_EQ(edit->text(), QString::fromUtf8("Café €"));
  edit->setText(QString::fromUtf8("Œuvre 中"));
  ASSERT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(dialog.server, "\x8Cuvre ?");
}

TEST(ComboBoxControl, StartsUnselectedAndSortsOnlySortedLists) {
  FormDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  ComboBox plain = dialog.Combo(1063);
  ASSERT_TRUE(plain.IsValid());
  EXPECT_EQ(plain.AddString("None"), 0);
  EXPECT_EQ(plain.AddString("Vantrel Standard Accounting"), 1);
  EXPECT_EQ(plain.AddString("Apple"), 2);
  EXPECT_EQ(plain.GetCurSel(), CB_ERR);
  EXPECT_EQ(plain.GetSelectedText(), "");

  ComboBox sorted = dialog.Combo(1041);
  sorted.AddString("SNMPv3");
  sorted.AddString("snmpv1/2c");
  sorted.AddString("Alpha");
  EXPECT_EQ(sorted.GetLBText(0), "Alpha");
  EXPECT_EQ(sorted.GetLBText(1), "snmpv1/2c");
  EXPECT_EQ(sorted.GetLBText(2), "SNMPv3");
  sorted.ResetContent();
  EXPECT_EQ(sorted.InsertString(0, "SNMPv1/2c"), 0);
  EXPECT_EQ(sorted.InsertString(1, "Alpha"), 1);  // insertion at an index never sorts
  EXPECT_EQ(sorted.GetLBText(1), "Alpha");
  EXPECT_EQ(sorted.InsertString(5, "beyond"), CB_ERR);
  EXPECT_EQ(sorted.SetCurSel(7), CB_ERR);
  EXPECT_EQ(sorted.GetCurSel(), CB_ERR);
  EXPECT_EQ(dialog.Combo(1018).IsValid(), false);  // an edit is no combo
}

// Counts selection changes the user makes.
class ComboDialog : public FormDialog {
 public:
  ComboDialog() {
    On(1063, Event::SelChange, [this] { ++selectionChanges; });
  }
  int selectionChanges = 0;
};

TEST(ComboBoxControl, OnlyTheUserRaisesSelectionChanges) {
  ComboDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  ComboBox combo = dialog.Combo(1063);
  combo.AddString("None");
  combo.AddString("Standard");
  combo.SetCurSel(0);
  EXPECT_EQ(dialog.selectionChanges, 0);
  QTest::keyClick(QtWidget(dialog.Item(1063)), Qt::Key_Down);
  EXPECT_EQ(dialog.selectionChanges, 1);
  EXPECT_EQ(combo.GetCurSel(), 1);
  EXPECT_EQ(combo.GetSelectedText(), "Standard");
}

}  // namespace
}  // namespace azu
