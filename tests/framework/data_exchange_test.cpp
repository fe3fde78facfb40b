// Data exchange of numbers, radio groups and addresses, with the framework's own prompts.

#include "framework/data_exchange.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <array>

#include "app/text_table.h"
#include "framework/dialog.h"
#include "framework/ip_address_control.h"
#include "framework/message_box.h"
#include "framework/qt/qt_dialog.h"
#include "framework/recording_message_sink.h"
#include "platform/resource.h"

namespace azu {
namespace {

constexpr std::array kControls{
    ControlTemplate{1022, ControlKind::RadioButton, 12, 6, 65, 10, style::kGroup, "Add"},
    ControlTemplate{1023, ControlKind::RadioButton, 80, 6, 65, 10, style::kNone, "Delete"},
    ControlTemplate{1024, ControlKind::RadioButton, 12, 18, 65, 10, style::kGroup, "Other"},
    ControlTemplate{1046, ControlKind::Edit, 60, 30, 40, 14, style::kNumber, nullptr},
    ControlTemplate{1047, ControlKind::Edit, 60, 50, 40, 14, style::kNumber, nullptr},
    ControlTemplate{1008, ControlKind::IPAddress, 96, 70, 100, 15, style::kTabStop, nullptr},
};
constexpr DialogTemplate kTemplate{902, 290, 152, DialogFrame::Modal, "Exchange", kControls};

class ExchangeDialog : public Dialog {
 public:
  ExchangeDialog() : Dialog(kTemplate) {}
  int mode = 0;
  int other = -1;
  std::uint32_t http = 80;
  std::uint32_t https = 443;
  std::uint32_t address = 0xFFFFFFFFU;

 protected:
  void DoDataExchange(DataExchange& dx) override {
    dx.Radio(1022, mode);
    dx.Radio(1024, other);
    dx.UnsignedNumber(1046, http, 0, 65535);
    dx.UnsignedNumber(1047, https, 0, 65535);
    dx.IPAddress(1008, address);
  }
};

class DataExchangeTest : public testing::Test {
 protected:
  void SetUp() override {
    ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
    ASSERT_TRUE(dialog.Create(nullptr));
    QtWidget(dialog.Window())->show();
  }
  void TearDown() override {
    ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
  }
  QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(QtWidget(dialog.Item(id))); }

  RecordingMessageSink recorder;
  ScopedMessageSink installed{recorder};
  ExchangeDialog dialog;
};

TEST_F(DataExchangeTest, LoadShowsTheMembers) {
  EXPECT_EQ(Edit(1046)->text(), QStringLiteral("80"));
  EXPECT_EQ(Edit(1047)->text(), QStringLiteral("443"));
  EXPECT_TRUE(qobject_cast<QRadioButton*>(QtWidget(dialog.Item(1022)))->isChecked());
  EXPECT_FALSE(qobject_cast<QRadioButton*>(QtWidget(dialog.Item(1024)))->isChecked());
  EXPECT_EQ(dialog.IpAddress(1008).Text(), "255.255.255.255");
}

TEST_F(DataExchangeTest, NumbersWithinRangeAreTakenWithoutLeadingZeros) {
  Edit(1046)->setText(QStringLiteral("0080"));
  Edit(1047)->setText(QStringLiteral("65535"));
  ASSERT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(dialog.http, 80U);
  EXPECT_EQ(dialog.https, 65535U);
  Edit(1046)->setText(QStringLiteral("0"));
  ASSERT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(dialog.http, 0U);
  EXPECT_TRUE(recorder.Boxes().empty());
}

TEST_F(DataExchangeTest, OutOfRangePromptsFocusesTheFieldAndStopsTheExchange) {
  Edit(1046)->setText(QStringLiteral("65536"));
  Edit(1047)->setText(QStringLiteral("8443"));
  EXPECT_FALSE(dialog.UpdateData(true));
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].type, kNoticeBox);
  EXPECT_EQ(recorder.Boxes()[0].text, "Please enter a whole number between 0 and 65535.");
  EXPECT_EQ(QtWidget(dialog.Window())->focusWidget(), Edit(1046));
  EXPECT_EQ(dialog.http, 80U);                             // member untouched
  EXPECT_EQ(dialog.https, 443U);                           // later fields not exchanged
  EXPECT_EQ(Edit(1046)->text(), QStringLiteral("65536"));  // the typed text stays

  Edit(1046)->setText(QStringLiteral("99999999999999999999"));  // no wrap-around into range
  EXPECT_FALSE(dialog.UpdateData(true));
  EXPECT_EQ(recorder.Boxes().back().text, "Please enter a whole number between 0 and 65535.");
}

TEST_F(DataExchangeTest, EmptyOrNonNumericFieldGetsTheNotANumberPrompt) {
  for (const char* text : {"", "12a", "-1", "8 080"}) {
    recorder.Clear();
    Edit(1047)->setText(QString::fromLatin1(text));
    EXPECT_FALSE(dialog.UpdateData(true)) << text;
    ASSERT_EQ(recorder.Boxes().size(), 1U) << text;
    EXPECT_EQ(recorder.Boxes()[0].text, "Please enter a whole number (digits only).");
    EXPECT_EQ(QtWidget(dialog.Window())->focusWidget(), Edit(1047));
  }
}

TEST_F(DataExchangeTest, PromptSpeaksTheLanguageOfTheTable) {
  ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "fr");
  Edit(1046)->setText(QStringLiteral("70000"));
  EXPECT_FALSE(dialog.UpdateData(true));
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].text, "Veuillez entrer un nombre entier compris entre 0 et 65535.");
  ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "de");
  Edit(1046)->setText(QString());
  EXPECT_FALSE(dialog.UpdateData(true));
  EXPECT_EQ(recorder.Boxes().back().text, "Bitte geben Sie eine ganze Zahl ein (nur Ziffern).");
}

TEST_F(DataExchangeTest, RadioGroupsAreSeparateAndMayHaveNoChoice) {
  QTest::mouseClick(QtWidget(dialog.Item(1023)), Qt::LeftButton);
  ASSERT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(dialog.mode, 1);
  EXPECT_EQ(dialog.other, -1);  // a separate group, still unchecked
  dialog.other = 0;
  dialog.mode = -1;
  dialog.UpdateData(false);
  EXPECT_TRUE(qobject_cast<QRadioButton*>(QtWidget(dialog.Item(1024)))->isChecked());
  EXPECT_FALSE(qobject_cast<QRadioButton*>(QtWidget(dialog.Item(1022)))->isChecked());
  EXPECT_FALSE(qobject_cast<QRadioButton*>(QtWidget(dialog.Item(1023)))->isChecked());
  EXPECT_EQ(dialog.RadioGroup(1022), (std::vector<int>{1022, 1023}));
}

TEST_F(DataExchangeTest, AddressControlIsStrictAndShowsDecimalOctets) {
  IpAddressControl control = dialog.IpAddress(1008);
  EXPECT_TRUE(control.SetText("10.1.2.3"));
  for (const char* loose : {"010.1.2.3", "10.1.2", "0x0a.1.2.3", "10.1.2.3.4", "300.1.1.1"}) {
    EXPECT_FALSE(control.SetText(loose)) << loose;
    EXPECT_EQ(control.Text(), "10.1.2.3") << loose;
  }
  ASSERT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(dialog.address, 0x0A010203U);

  control.Clear();
  EXPECT_TRUE(control.IsBlank());
  EXPECT_EQ(control.Text(), "0.0.0.0");
  auto* first = QtWidget(dialog.Item(1008))->findChild<QLineEdit*>(QStringLiteral("octet0"));
  auto* second = QtWidget(dialog.Item(1008))->findChild<QLineEdit*>(QStringLiteral("octet1"));
  QTest::keyClicks(first, QStringLiteral("010"));   // typed with a zero: still decimal ten
  QTest::keyClicks(second, QStringLiteral("300"));  // more than an octet holds
  EXPECT_EQ(control.Text(), "10.255.0.0");
  EXPECT_EQ(control.Address(), 0x0AFF0000U);
}

}  // namespace
}  // namespace azu
