#include "framework/ip_address_control.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <algorithm>

#include "framework/ipv4_text.h"

namespace azu {
namespace {
constexpr unsigned kMaxOctet = 255;
constexpr int kOctetDigits = 3;
}  // namespace

IpAddressControl::IpAddressControl(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 0, 2, 0);
  layout->setSpacing(0);
  auto* validator =
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this);
  for (int i = 0; i < 4; ++i) {
    if (i > 0) layout->addWidget(new QLabel(QStringLiteral("."), this));
    auto* field = new QLineEdit(this);
    field->setObjectName(QStringLiteral("octet%1").arg(i));
    field->setFrame(false);
    field->setAlignment(Qt::AlignCenter);
    field->setMaxLength(kOctetDigits);
    field->setValidator(validator);
    field->installEventFilter(this);
    connect(field, &QLineEdit::textEdited, this, [this, i] { OnEdited(i); });
    connect(field, &QLineEdit::editingFinished, this, [this, i] {
      // Shown in decimal without leading zeros, as the text reads it.
      if (!fields_[i]->text().isEmpty()) fields_[i]->setText(QString::number(FieldValue(i)));
    });
    layout->addWidget(field, 1);
    fields_[i] = field;
  }
  setFocusProxy(fields_[0]);
}

void IpAddressControl::SetAccessibleName(const QString& name) {
  setAccessibleName(name);
  for (QLineEdit* field : fields_) field->setAccessibleName(name);
}

unsigned IpAddressControl::FieldValue(int field) const {
  return fields_[field]->text().toUInt();  // digits only; blank gives 0
}

void IpAddressControl::OnEdited(int field) {
  QLineEdit* edit = fields_[field];
  if (FieldValue(field) > kMaxOctet) edit->setText(QString::number(kMaxOctet));
  if (edit->text().size() == kOctetDigits && field < 3) {
    fields_[field + 1]->setFocus();
    fields_[field + 1]->selectAll();
  }
}

bool IpAddressControl::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QFrame::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  for (int i = 0; i < 4; ++i) {
    if (watched != fields_[i]) continue;
    if (key->text() == QStringLiteral(".")) {
      if (i < 3 && !fields_[i]->text().isEmpty()) {
        fields_[i + 1]->setFocus();
        fields_[i + 1]->selectAll();
      }
      return true;
    }
    if (key->key() == Qt::Key_Backspace && i > 0 && fields_[i]->cursorPosition() == 0) {
      fields_[i - 1]->setFocus();
      fields_[i - 1]->end(false);
      return true;
    }
  }
  return QFrame::eventFilter(watched, event);
}

void IpAddressControl::SetAddress(std::uint32_t address) {
  for (int i = 0; i < 4; ++i) {
    fields_[i]->setText(QString::number((address >> (24 - 8 * i)) & 0xFFU));
  }
}

std::uint32_t IpAddressControl::Address() const {
  std::uint32_t address = 0;
  for (int i = 0; i < 4; ++i) address = (address << 8) | FieldValue(i);
  return address;
}

std::string IpAddressControl::Text() const {
  return FormatIPv4(Address());
}

bool IpAddressControl::SetText(std::string_view text) {
  const auto address = ParseIPv4Strict(text);
  if (!address) return false;
  SetAddress(*address);
  return true;
}

void IpAddressControl::Clear() {
  for (QLineEdit* field : fields_) field->clear();
}

bool IpAddressControl::IsBlank() const {
  return std::ranges::all_of(fields_,
                             [](const QLineEdit* field) { return field->text().isEmpty(); });
}

}  // namespace azu
