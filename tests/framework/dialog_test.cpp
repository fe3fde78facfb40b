// Dialogs built from templates: controls by id, placement in dialog units, modal results, key
// routing between a page and its window, and the control wrappers.

#include "framework/dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <array>

#include "framework/data_exchange.h"
#include "framework/dialog_units.h"
#include "framework/ip_address_control.h"
#include "framework/message_box.h"
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
  QWidget* edit = dialog.Item(1018);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->objectName(), QStringLiteral("id1018"));
  const DialogBaseUnits units = BaseUnitsOf(dialog.Window()->font());
  EXPECT_GT(units.x, 0);
  EXPECT_GT(units.y, 0);
  EXPECT_EQ(edit->geometry(), DialogUnitsToPixels(144, 21, 102, 14, units));
  EXPECT_EQ(dialog.Window()->size(), DialogUnitsToPixels(0, 0, 200, 80, units).size());
  EXPECT_EQ(dialog.Item(4242), nullptr);
  EXPECT_FALSE(dialog.Item(1057)->isEnabled());
  EXPECT_EQ(dialog.ItemText(1040), "Server:");
  EXPECT_TRUE(qobject_cast<QLabel*>(dialog.Item(1040))->alignment() & Qt::AlignRight);
}

TEST(DialogTemplate, DialogUnitsFollowTheFontMetrics) {
  const DialogBaseUnits units{7, 16};
  EXPECT_EQ(DialogUnitsToPixels(4, 8, 40, 16, units), QRect(7, 16, 70, 32));
  EXPECT_EQ(DialogUnitsToPixels(6, 21, 102, 14, units), QRect(11, 42, 179, 28));  // rounded
}

TEST(DialogTemplate, NoWindowMeansNoControlsAndNoExchange) {
  FormDialog dialog;
  EXPECT_EQ(dialog.Window(), nullptr);
  EXPECT_EQ(dialog.Item(1018), nullptr);
  EXPECT_FALSE(dialog.UpdateData(true));
  dialog.SetItemText(1018, "ignored");  // harmless without a window
}

TEST(DialogTemplate, ChildDialogControlsDoNotShadowTheParents) {
  FormDialog parent;
  ASSERT_TRUE(parent.Create(nullptr));
  PageDialog page;
  ASSERT_TRUE(page.Create(parent.Window()));
  EXPECT_EQ(page.Window()->parentWidget(), parent.Window());
  EXPECT_FALSE(page.Window()->isWindow());  // inside the parent, not a window of its own
  EXPECT_FALSE(page.Window()->isVisibleTo(parent.Window()));  // pages start hidden
  page.SetItemText(1018, "page text");
  parent.SetItemText(1018, "parent text");
  EXPECT_EQ(page.ItemText(1018), "page text");
  EXPECT_EQ(parent.ItemText(1018), "parent text");
  page.DestroyWindow();
  EXPECT_EQ(page.Window(), nullptr);
  EXPECT_EQ(parent.ItemText(1018), "parent text");
}

TEST(DialogTemplate, ParentDestroyingThePageWindowLeavesThePageObjectSafe) {
  PageDialog page;
  {
    FormDialog parent;
    ASSERT_TRUE(parent.Create(nullptr));
    ASSERT_TRUE(page.Create(parent.Window()));
  }
  EXPECT_EQ(page.Window(), nullptr);
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
  EXPECT_EQ(dialog.Window(), nullptr);  // the window ends with the run
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

TEST(DialogKeys, EnterAndEscapeInsideAPageStayInThePage) {
  FormDialog parent;
  ASSERT_TRUE(parent.Create(nullptr));
  PageDialog page;
  ASSERT_TRUE(page.Create(parent.Window()));
  page.Show(true);
  parent.Window()->show();
  QWidget* pageEdit = page.Item(1018);
  QTest::keyClick(pageEdit, Qt::Key_Return);
  QTest::keyClick(pageEdit, Qt::Key_Escape);
  EXPECT_EQ(page.okCommands, 1);
  EXPECT_EQ(parent.okCommands, 0);
  EXPECT_TRUE(page.Window()->isVisible());
  EXPECT_TRUE(parent.Window()->isVisible());
}

TEST(DialogExchange, TextLimitIsSetOnLoadAndHeldOnSave) {
  FormDialog dialog;
  dialog.server = "abc";
  ASSERT_TRUE(dialog.Create(nullptr));
  auto* edit = qobject_cast<QLineEdit*>(dialog.Item(1018));
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
  auto* edit = qobject_cast<QLineEdit*>(dialog.Item(1018));
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
  EXPECT_EQ(plain.GetWindowText(), "");

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
  QTest::keyClick(dialog.Item(1063), Qt::Key_Down);
  EXPECT_EQ(dialog.selectionChanges, 1);
  EXPECT_EQ(combo.GetCurSel(), 1);
  EXPECT_EQ(combo.GetWindowText(), "Standard");
}

}  // namespace
}  // namespace azu
