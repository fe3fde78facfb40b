#include "framework/qt/control_factory.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "framework/qt/ip_address_widget.h"
#include "framework/qt/qt_dialog.h"
#include "framework/qt/qt_text.h"
#include "framework/qt/single_line_validator.h"
#include "framework/qt/tab_strip_widget.h"

namespace azu {
namespace {

constexpr int kIconPixels = 32;
constexpr int kSunkenTextMargin = 2;

bool Has(const ControlTemplate& control, std::uint32_t flag) {
  return (control.style & flag) != 0;
}

QWidget* MakeStatic(const ControlTemplate& control, QWidget* parent) {
  auto* label = new QLabel(FromCp1252(control.text), parent);
  label->setWordWrap(true);
  label->setAlignment((Has(control, style::kRight) ? Qt::AlignRight : Qt::AlignLeft) |
                      Qt::AlignTop);
  if (Has(control, style::kSunken)) {
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMargin(kSunkenTextMargin);  // wrapped text stays clear of the edge
  }
  return label;
}

QWidget* MakeIcon(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setPixmap(QApplication::windowIcon().pixmap(kIconPixels, kIconPixels));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

QWidget* MakeEdit(const ControlTemplate& control, QWidget* parent) {
  auto* edit = new QLineEdit(FromCp1252(control.text), parent);
  if (Has(control, style::kPassword)) edit->setEchoMode(QLineEdit::Password);
  edit->setValidator(new SingleLineValidator(edit, Has(control, style::kNumber)));
  return edit;
}

QWidget* MakeButton(const ControlTemplate& control, QWidget* parent) {
  auto* button = new QPushButton(FromCp1252(control.text), parent);
  button->setDefault(control.kind == ControlKind::DefPushButton);
  return button;
}

QWidget* MakeCombo(const ControlTemplate& control, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setProperty("azuStyle", control.style);
  return combo;
}

QWidget* MakeListView(const ControlTemplate& control, QWidget* parent) {
  auto* list = new QTreeWidget(parent);
  list->setRootIsDecorated(false);
  list->setColumnCount(1);
  list->setHeaderHidden(Has(control, style::kNoHeader));
  // A column is exactly as wide as it is set, however narrow.
  list->header()->setStretchLastSection(false);
  list->header()->setMinimumSectionSize(0);
  list->setSelectionMode(Has(control, style::kSingleSel) ? QAbstractItemView::SingleSelection
                                                         : QAbstractItemView::ExtendedSelection);
  list->setSortingEnabled(Has(control, style::kSort));
  if (Has(control, style::kSort)) list->sortByColumn(0, Qt::AscendingOrder);
  return list;
}

}  // namespace

QWidget* CreateControl(const ControlTemplate& control, QWidget* parent, DialogBaseUnits units) {
  QWidget* widget = nullptr;
  switch (control.kind) {
    case ControlKind::Static:
      widget = MakeStatic(control, parent);
      break;
    case ControlKind::Icon:
      widget = MakeIcon(parent);
      break;
    case ControlKind::Edit:
      widget = MakeEdit(control, parent);
      break;
    case ControlKind::PushButton:
    case ControlKind::DefPushButton:
      widget = MakeButton(control, parent);
      break;
    case ControlKind::RadioButton:
      widget = new QRadioButton(FromCp1252(control.text), parent);
      break;
    case ControlKind::GroupBox:
      widget = new QGroupBox(FromCp1252(control.text), parent);
      break;
    case ControlKind::ComboBox:
      widget = MakeCombo(control, parent);
      break;
    case ControlKind::ListView:
      widget = MakeListView(control, parent);
      break;
    case ControlKind::TabControl:
      widget = new TabStripWidget(parent);
      break;
    case ControlKind::IPAddress:
      widget = new IpAddressWidget(parent);
      break;
  }
  if (widget == nullptr) return nullptr;
  widget->setObjectName(ControlName(control.id));
  QRect rect = DialogUnitsToPixels(control.x, control.y, control.w, control.h, units);
  if (control.kind == ControlKind::ComboBox) {
    // The template height is that of the dropped list; the closed box is one line high.
    rect.setHeight(widget->sizeHint().height());
  }
  widget->setGeometry(rect);
  widget->setEnabled(!Has(control, style::kDisabled));
  widget->setVisible(!Has(control, style::kHidden));
  return widget;
}

}  // namespace azu
