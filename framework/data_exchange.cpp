#include "framework/data_exchange.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "app/text_table.h"
#include "framework/dialog.h"
#include "framework/exchange_prompts.h"
#include "framework/ip_address_control.h"
#include "framework/message_box.h"
#include "framework/qt_text.h"

namespace azu {
namespace {

// Digits only, blanks around allowed; nullopt for anything else. Values past 32 bits saturate so
// that they are refused as out of range rather than wrapping.
std::optional<std::uint64_t> ParseUnsigned(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const QChar ch : trimmed) {
    if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) return std::nullopt;
    value = std::min<std::uint64_t>(value * 10 + static_cast<unsigned>(ch.unicode() - '0'),
                                    std::uint64_t{1} << 33);
  }
  return value;
}

}  // namespace

void DataExchange::Fail(QWidget* control, const std::string& prompt) {
  ShowMessageBox(prompt, kNoticeBox);
  if (control != nullptr) {
    control->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
  }
  failed_ = true;
}

void DataExchange::Text(int id, std::string& value, int maxChars) {
  if (failed_) return;
  QWidget* control = dialog_.Item(id);
  if (auto* label = qobject_cast<QLabel*>(control)) {  // a static shows a member's text
    if (save_) {
      value = ToCp1252(label->text());
    } else {
      label->setText(FromCp1252(value));
    }
    return;
  }
  auto* edit = qobject_cast<QLineEdit*>(control);
  if (edit == nullptr) return;
  if (save_) {
    value = ToCp1252(edit->text());
    if (maxChars > 0 && value.size() > static_cast<std::size_t>(maxChars)) value.resize(maxChars);
  } else {
    if (maxChars > 0) edit->setMaxLength(maxChars);
    edit->setText(FromCp1252(value));
  }
}

void DataExchange::UnsignedNumber(int id, std::uint32_t& value, std::uint32_t min,
                                  std::uint32_t max) {
  if (failed_) return;
  auto* edit = qobject_cast<QLineEdit*>(dialog_.Item(id));
  if (edit == nullptr) return;
  if (!save_) {
    edit->setText(QString::number(value));
    return;
  }
  const auto number = ParseUnsigned(edit->text());
  const std::string_view language = ProcessTextTable().Language();
  if (!number) {
    Fail(edit, NotANumberPrompt(language));
  } else if (*number < min || *number > max) {
    Fail(edit, NumberRangePrompt(language, min, max));
  } else {
    value = static_cast<std::uint32_t>(*number);
  }
}

void DataExchange::Radio(int firstId, int& value) {
  if (failed_) return;
  const std::vector<int> group = dialog_.RadioGroup(firstId);
  if (save_) {
    value = -1;
    for (std::size_t i = 0; i < group.size(); ++i) {
      auto* button = qobject_cast<QRadioButton*>(dialog_.Item(group[i]));
      if (button != nullptr && button->isChecked()) value = static_cast<int>(i);
    }
    return;
  }
  if (value >= 0 && static_cast<std::size_t>(value) < group.size()) {
    if (auto* button = qobject_cast<QRadioButton*>(dialog_.Item(group[value]))) {
      button->setChecked(true);
    }
    return;
  }
  // No button checked: an exclusive group refuses to uncheck its last button.
  for (const int id : group) {
    auto* button = qobject_cast<QRadioButton*>(dialog_.Item(id));
    if (button == nullptr) continue;
    QButtonGroup* buttons = button->group();
    if (buttons != nullptr) buttons->setExclusive(false);
    button->setChecked(false);
    if (buttons != nullptr) buttons->setExclusive(true);
  }
}

void DataExchange::IPAddress(int id, std::uint32_t& value) {
  if (failed_) return;
  auto* control = qobject_cast<IpAddressControl*>(dialog_.Item(id));
  if (control == nullptr) return;
  if (save_) {
    value = control->Address();
  } else {
    control->SetAddress(value);
  }
}

}  // namespace azu
