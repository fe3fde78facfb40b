#include "framework/qt/ip_address_widget.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <algorithm>

#include "framework/ip_address_control.h"
#include "framework/qt/qt_dialog.h"

namespace azu {
namespace {
constexpr unsigned kMaxOctet = 255;
constexpr int kOctetDigits = 3;
}  // namespace

IpAddressWidget::IpAddressWidget(QWidget* parent) : QFrame(parent) {
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

void IpAddressWidget::SetAccessibleName(const QString& name) {
  setAccessibleName(name);
  for (QLineEdit* field : fields_) field->setAccessibleName(name);
}

unsigned IpAddressWidget::FieldValue(int field) const {
  return fields_[field]->text().toUInt();  // digits only; blank gives 0
}

void IpAddressWidget::OnEdited(int field) {
  QLineEdit* edit = fields_[field];
  if (FieldValue(field) > kMaxOctet) edit->setText(QString::number(kMaxOctet));
  if (edit->text().size() == kOctetDigits && field < 3) {
    fields_[field + 1]->setFocus();
    fields_[field + 1]->selectAll();
  }
}

bool IpAddressWidget::eventFilter(QObject* watched, QEvent* event) {
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

void IpAddressWidget::SetAddress(std::uint32_t address) {
  for (int i = 0; i < 4; ++i) {
    fields_[i]->setText(QString::number((address >> (24 - 8 * i)) & 0xFFU));
  }
}

std::uint32_t IpAddressWidget::Address() const {
  std::uint32_t address = 0;
  for (int i = 0; i < 4; ++i) address = (address << 8) | FieldValue(i);
  return address;
}

void IpAddressWidget::Clear() {
  for (QLineEdit* field : fields_) field->clear();
}

bool IpAddressWidget::IsBlank() const {
  return std::ranges::all_of(fields_,
                             [](const QLineEdit* field) { return field->text().isEmpty(); });
}

namespace {
IpAddressWidget* WidgetOf(WindowHandle control) {
  return qobject_cast<IpAddressWidget*>(QtWidget(control));
}
}  // namespace

void IpAddressControl::SetAddress(std::uint32_t address) {
  if (IpAddressWidget* widget = WidgetOf(control_)) widget->SetAddress(address);
}

std::uint32_t IpAddressControl::Address() const {
  const IpAddressWidget* widget = WidgetOf(control_);
  return widget != nullptr ? widget->Address() : 0;
}

void IpAddressControl::Clear() {
  if (IpAddressWidget* widget = WidgetOf(control_)) widget->Clear();
}

bool IpAddressControl::IsBlank() const {
  const IpAddressWidget* widget = WidgetOf(control_);
  return widget == nullptr || widget->IsBlank();
}

}  // namespace azu
