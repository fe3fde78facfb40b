#include "framework/dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <algorithm>
#include <span>

#include "framework/control_factory.h"
#include "framework/data_exchange.h"
#include "framework/dialog_window.h"
#include "framework/ip_address_control.h"
#include "framework/message_box.h"
#include "framework/qt_text.h"
#include "framework/tab_control.h"

namespace azu {

QString ControlName(int id) {
  return QStringLiteral("id%1").arg(id);
}

namespace {

bool IsField(ControlKind kind) {
  return kind == ControlKind::Edit || kind == ControlKind::ComboBox ||
         kind == ControlKind::IPAddress || kind == ControlKind::ListView;
}

bool Overlap(int top1, int height1, int top2, int height2) {
  return top1 < top2 + height2 && top2 < top1 + height1;
}

// The static that names field `index`: the last one before it in template order that stands on
// its row to its left, else the last one before it (a label above the field).
const ControlTemplate* LabelOf(std::span<const ControlTemplate> controls, std::size_t index) {
  const ControlTemplate& field = controls[index];
  const ControlTemplate* before = nullptr;
  const ControlTemplate* sameRow = nullptr;
  for (std::size_t i = 0; i < index; ++i) {
    const ControlTemplate& control = controls[i];
    if (control.kind != ControlKind::Static) continue;
    before = &control;
    if (control.x < field.x && Overlap(control.y, control.h, field.y, field.h)) sameRow = &control;
  }
  return sameRow != nullptr ? sameRow : before;
}

// A label's text as a screen reader says it: "&&" is an ampersand, a single '&' marks the
// mnemonic and is not spoken.
QString WithoutMnemonic(const QString& text) {
  QString spoken;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
    spoken += text[i];
  }
  return spoken;
}

void NameField(QWidget* field, const QString& labelText) {
  const QString name = WithoutMnemonic(labelText);
  if (auto* address = qobject_cast<IpAddressControl*>(field)) {
    address->SetAccessibleName(name);
  } else {
    field->setAccessibleName(name);
  }
}

}  // namespace

Dialog::Dialog(const DialogTemplate& dialogTemplate) : template_(dialogTemplate) {}

Dialog::~Dialog() {
  DestroyWindow();
}

QWidget* Dialog::Window() const {
  return window_.data();
}

void Dialog::BuildWindow(QWidget* parent, bool child) {
  DestroyWindow();
  window_ = new DialogWindow(*this, parent, child);
  DialogWindow* window = window_.data();
  const DialogBaseUnits units = BaseUnitsOf(window->font());
  const QRect size = DialogUnitsToPixels(0, 0, template_.w, template_.h, units);
  if (child) {
    window->resize(size.size());
    window->setVisible(false);
  } else {
    window->setFixedSize(size.size());
    window->setWindowTitle(FromCp1252(template_.caption));
  }

  QButtonGroup* radios = nullptr;
  for (const ControlTemplate& control : template_.controls) {
    QWidget* widget = CreateControl(control, window, units);
    if (widget == nullptr) continue;
    const int id = control.id;
    if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
      if (radios == nullptr || (control.style & style::kGroup) != 0)
        radios = new QButtonGroup(window);
      radios->addButton(radio);
      QObject::connect(radio, &QAbstractButton::clicked, window,
                       [this, id] { Notify(id, Event::Clicked); });
      continue;
    }
    if ((control.style & style::kGroup) != 0) radios = nullptr;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      QObject::connect(button, &QAbstractButton::clicked, window, [this, id] { Command(id); });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      QObject::connect(combo, &QComboBox::activated, window,
                       [this, id] { Notify(id, Event::SelChange); });
    } else if (auto* tabs = qobject_cast<TabStripWidget*>(widget)) {
      QObject::connect(tabs->Bar(), &MultiRowTabBar::currentChanged, window,
                       [this, id] { Notify(id, Event::SelChange); });
    } else if (auto* list = qobject_cast<QTreeWidget*>(widget)) {
      QObject::connect(list, &QTreeWidget::itemSelectionChanged, window,
                       [this, id] { Notify(id, Event::ItemChanged); });
    }
  }
  LabelFields();
  if (!child || parent == nullptr) {
    // The button drawn as default is the one Enter presses; Qt would otherwise draw the first
    // button of the window so.
    if (auto* button = qobject_cast<QPushButton*>(Item(DefaultCommand()))) button->setDefault(true);
  }
}

// Each field gets its label as buddy (its mnemonic then focuses the field) and as the name a
// screen reader announces.
void Dialog::LabelFields() {
  const std::span<const ControlTemplate> controls = template_.controls;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (!IsField(controls[i].kind)) continue;
    const ControlTemplate* label = LabelOf(controls, i);
    QWidget* field = Item(controls[i].id);
    auto* labelWidget = label != nullptr ? qobject_cast<QLabel*>(Item(label->id)) : nullptr;
    if (field == nullptr || labelWidget == nullptr || label->id < 0) continue;
    labelWidget->setBuddy(field);
    NameField(field, labelWidget->text());
  }
}

int Dialog::DefaultCommand() const {
  for (const ControlTemplate& control : template_.controls) {
    if (control.kind == ControlKind::DefPushButton) return control.id;
  }
  return IDOK;
}

bool Dialog::IsTabStop(const ControlTemplate& control, const QWidget* widget) const {
  if (!widget->isEnabled() || !widget->isVisibleTo(window_.data())) return false;
  if (control.kind == ControlKind::RadioButton) {
    // The checked button stands for its group; with none checked, the group's first.
    const auto* radio = qobject_cast<const QAbstractButton*>(widget);
    if (radio->isChecked()) return true;
    if ((control.style & style::kTabStop) == 0) return false;
    const std::vector<int> group = RadioGroup(control.id);
    return std::ranges::none_of(group, [this](int id) {
      const auto* member = qobject_cast<const QAbstractButton*>(Item(id));
      return member != nullptr && member->isChecked();
    });
  }
  return (control.style & style::kTabStop) != 0;
}

bool Dialog::SelectNextTab(bool forward) {
  for (const ControlTemplate& control : template_.controls) {
    if (control.kind != ControlKind::TabControl) continue;
    auto* strip = qobject_cast<TabStripWidget*>(Item(control.id));
    if (strip == nullptr || !strip->isEnabled()) return false;
    strip->Bar()->selectNext(forward);
    return true;
  }
  return false;
}

std::vector<QWidget*> Dialog::TabStops() const {
  std::vector<QWidget*> stops;
  if (!window_) return stops;
  for (const ControlTemplate& control : template_.controls) {
    QWidget* widget = Item(control.id);
    if (widget == nullptr) continue;
    if (IsTabStop(control, widget)) stops.push_back(widget);
    for (DialogWindow* hosted : widget->findChildren<DialogWindow*>(Qt::FindDirectChildrenOnly)) {
      if (!hosted->isVisibleTo(window_.data())) continue;
      const std::vector<QWidget*> inner = hosted->Owner().TabStops();
      stops.insert(stops.end(), inner.begin(), inner.end());
    }
  }
  return stops;
}

int Dialog::DoModal() {
  QWidget* owner = QApplication::activeModalWidget();
  if (owner == nullptr) owner = QApplication::activeWindow();
  BuildWindow(owner, false);
  OnInitDialog();
  const int result = window_ ? window_->exec() : IDCANCEL;
  DestroyWindow();
  return result;
}

bool Dialog::Create(QWidget* parent) {
  BuildWindow(parent, true);
  return OnInitDialog();
}

void Dialog::DestroyWindow() {
  delete window_.data();
  window_.clear();
}

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void Dialog::DoDataExchange(DataExchange& /*dx*/) {}

bool Dialog::UpdateData(bool saveAndValidate) {
  if (!window_) return false;
  DataExchange dx(*this, saveAndValidate);
  DoDataExchange(dx);
  return !dx.Failed();
}

void Dialog::EndDialog(int result) {
  if (window_) window_->done(result);
}

void Dialog::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}

void Dialog::OnCancel() {
  EndDialog(IDCANCEL);
}

void Dialog::On(int id, Event event, std::function<void()> handler) {
  handlers_[{id, event}] = std::move(handler);
}

void Dialog::Command(int id) {
  if (id == IDOK) {
    OnOK();
  } else if (id == IDCANCEL) {
    OnCancel();
  } else {
    Notify(id, Event::Clicked);
  }
}

void Dialog::Notify(int id, Event event) {
  const auto handler = handlers_.find({id, event});
  if (handler != handlers_.end()) handler->second();
}

QWidget* Dialog::Item(int id) const {
  if (!window_) return nullptr;
  return window_->findChild<QWidget*>(ControlName(id), Qt::FindDirectChildrenOnly);
}

void Dialog::SetItemText(int id, const char* text) {
  QWidget* item = Item(id);
  const QString value = FromCp1252(text);
  if (auto* label = qobject_cast<QLabel*>(item)) {
    label->setText(value);
    if (label->buddy() != nullptr) NameField(label->buddy(), value);
  } else if (auto* button = qobject_cast<QAbstractButton*>(item)) {
    button->setText(value);
  } else if (auto* edit = qobject_cast<QLineEdit*>(item)) {
    edit->setText(value);
  } else if (auto* group = qobject_cast<QGroupBox*>(item)) {
    group->setTitle(value);
  } else if (auto* address = qobject_cast<IpAddressControl*>(item)) {
    address->SetText(text != nullptr ? text : "");
  }
}

std::string Dialog::ItemText(int id) const {
  QWidget* item = Item(id);
  if (auto* label = qobject_cast<QLabel*>(item)) return ToCp1252(label->text());
  if (auto* button = qobject_cast<QAbstractButton*>(item)) return ToCp1252(button->text());
  if (auto* edit = qobject_cast<QLineEdit*>(item)) return ToCp1252(edit->text());
  if (auto* group = qobject_cast<QGroupBox*>(item)) return ToCp1252(group->title());
  if (auto* combo = qobject_cast<QComboBox*>(item)) return ToCp1252(combo->currentText());
  if (auto* address = qobject_cast<IpAddressControl*>(item)) return address->Text();
  return {};
}

void Dialog::EnableItem(int id, bool enable) {
  if (QWidget* item = Item(id)) item->setEnabled(enable);
}

void Dialog::ShowItem(int id, bool show) {
  if (QWidget* item = Item(id)) item->setVisible(show);
}

ComboBox Dialog::Combo(int id) const {
  return ComboBox(qobject_cast<QComboBox*>(Item(id)));
}

TabControl Dialog::Tabs(int id) const {
  return TabControl(qobject_cast<TabStripWidget*>(Item(id)));
}

ListView Dialog::List(int id) const {
  return ListView(qobject_cast<QTreeWidget*>(Item(id)));
}

IpAddressControl* Dialog::IpAddress(int id) const {
  return qobject_cast<IpAddressControl*>(Item(id));
}

void Dialog::SetCaption(const char* text) {
  if (window_) window_->setWindowTitle(FromCp1252(text));
}

void Dialog::Show(bool show) {
  if (window_) window_->setVisible(show);
}

void Dialog::Move(const QRect& rect) {
  if (window_) {
    window_->setGeometry(rect);
    window_->update();
  }
}

std::vector<int> Dialog::RadioGroup(int firstId) const {
  std::vector<int> ids;
  bool inGroup = false;
  for (const ControlTemplate& control : template_.controls) {
    if (!inGroup) {
      inGroup = control.id == firstId;
      if (inGroup) ids.push_back(control.id);
      continue;
    }
    if (control.kind != ControlKind::RadioButton || (control.style & style::kGroup) != 0) break;
    ids.push_back(control.id);
  }
  return ids;
}

}  // namespace azu
