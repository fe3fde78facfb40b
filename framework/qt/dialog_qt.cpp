// The Qt back end of Dialog: a DialogWindow with one widget per template control.

#include "framework/dialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <algorithm>
#include <span>

#include "framework/message_box.h"
#include "framework/qt/control_factory.h"
#include "framework/qt/dialog_units.h"
#include "framework/qt/dialog_window.h"
#include "framework/qt/ip_address_widget.h"
#include "framework/qt/qt_dialog.h"
#include "framework/qt/qt_text.h"
#include "framework/qt/tab_strip_widget.h"

namespace azu {

struct Dialog::Native {
  QPointer<DialogWindow> window;
};

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
  if (auto* address = qobject_cast<IpAddressWidget*>(field)) {
    address->SetAccessibleName(name);
  } else {
    field->setAccessibleName(name);
  }
}

QWidget* ItemOf(const DialogWindow* window, int id) {
  if (window == nullptr) return nullptr;
  return window->findChild<QWidget*>(ControlName(id), Qt::FindDirectChildrenOnly);
}

// Each field gets its label as buddy (its mnemonic then focuses the field) and as the name a
// screen reader announces.
void LabelFields(const DialogWindow* window, std::span<const ControlTemplate> controls) {
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (!IsField(controls[i].kind)) continue;
    const ControlTemplate* label = LabelOf(controls, i);
    QWidget* field = ItemOf(window, controls[i].id);
    auto* labelWidget =
        label != nullptr ? qobject_cast<QLabel*>(ItemOf(window, label->id)) : nullptr;
    if (field == nullptr || labelWidget == nullptr || label->id < 0) continue;
    labelWidget->setBuddy(field);
    NameField(field, labelWidget->text());
  }
}

bool IsTabStop(const Dialog& dialog, const ControlTemplate& control, const QWidget* widget) {
  const QWidget* window = QtWidget(dialog.Window());
  if (!widget->isEnabled() || !widget->isVisibleTo(window)) return false;
  if (control.kind == ControlKind::RadioButton) {
    // The checked button stands for its group; with none checked, the group's first.
    const auto* radio = qobject_cast<const QAbstractButton*>(widget);
    if (radio->isChecked()) return true;
    if ((control.style & style::kTabStop) == 0) return false;
    const std::vector<int> group = dialog.RadioGroup(control.id);
    return std::ranges::none_of(group, [&dialog](int id) { return dialog.IsChecked(id); });
  }
  return (control.style & style::kTabStop) != 0;
}

}  // namespace

// What the back end does to a dialog that its public operations do not say.
struct DialogBackend {
  static DialogWindow* WindowOf(const Dialog& dialog) { return dialog.native_->window.data(); }
  static bool Init(Dialog& dialog) { return dialog.OnInitDialog(); }
  static void Build(Dialog& dialog, QWidget* parent, bool child);
};

void DialogBackend::Build(Dialog& dialog, QWidget* parent, bool child) {
  dialog.DestroyWindow();
  auto* window = new DialogWindow(dialog, parent, child);
  dialog.native_->window = window;
  const DialogTemplate& dialogTemplate = dialog.Template();
  const DialogBaseUnits units = BaseUnitsOf(window->font());
  const QRect size = DialogUnitsToPixels(0, 0, dialogTemplate.w, dialogTemplate.h, units);
  if (child) {
    window->resize(size.size());
    window->setVisible(false);
  } else {
    window->setFixedSize(size.size());
    window->setWindowTitle(FromCp1252(dialogTemplate.caption));
  }

  QButtonGroup* radios = nullptr;
  for (const ControlTemplate& control : dialogTemplate.controls) {
    QWidget* widget = CreateControl(control, window, units);
    if (widget == nullptr) continue;
    const int id = control.id;
    Dialog* owner = &dialog;
    if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
      if (radios == nullptr || (control.style & style::kGroup) != 0)
        radios = new QButtonGroup(window);
      radios->addButton(radio);
      QObject::connect(radio, &QAbstractButton::clicked, window,
                       [owner, id] { owner->Notify(id, Dialog::Event::Clicked); });
      continue;
    }
    if ((control.style & style::kGroup) != 0) radios = nullptr;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      QObject::connect(button, &QAbstractButton::clicked, window,
                       [owner, id] { owner->Command(id); });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      QObject::connect(combo, &QComboBox::activated, window,
                       [owner, id] { owner->Notify(id, Dialog::Event::SelChange); });
    } else if (auto* tabs = qobject_cast<TabStripWidget*>(widget)) {
      QObject::connect(tabs->Bar(), &MultiRowTabBar::currentChanged, window,
                       [owner, id] { owner->Notify(id, Dialog::Event::SelChange); });
    } else if (auto* list = qobject_cast<QTreeWidget*>(widget)) {
      QObject::connect(list, &QTreeWidget::itemSelectionChanged, window,
                       [owner, id] { owner->Notify(id, Dialog::Event::ItemChanged); });
    }
  }
  LabelFields(window, dialogTemplate.controls);
  if (!child || parent == nullptr) {
    // The button drawn as default is the one Enter presses; Qt would otherwise draw the first
    // button of the window so.
    if (auto* button = qobject_cast<QPushButton*>(ItemOf(window, dialog.DefaultCommand()))) {
      button->setDefault(true);
    }
  }
}

std::vector<QWidget*> TabStops(const Dialog& dialog) {
  std::vector<QWidget*> stops;
  const DialogWindow* window = DialogBackend::WindowOf(dialog);
  if (window == nullptr) return stops;
  for (const ControlTemplate& control : dialog.Template().controls) {
    QWidget* widget = ItemOf(window, control.id);
    if (widget == nullptr) continue;
    if (IsTabStop(dialog, control, widget)) stops.push_back(widget);
    for (DialogWindow* hosted : widget->findChildren<DialogWindow*>(Qt::FindDirectChildrenOnly)) {
      if (!hosted->isVisibleTo(window)) continue;
      const std::vector<QWidget*> inner = TabStops(hosted->Owner());
      stops.insert(stops.end(), inner.begin(), inner.end());
    }
  }
  return stops;
}

Dialog::Dialog(const DialogTemplate& dialogTemplate)
    : template_(dialogTemplate), native_(std::make_unique<Native>()) {}

Dialog::~Dialog() {
  DestroyWindow();
}

WindowHandle Dialog::Window() const {
  return HandleOf(native_->window.data());
}

int Dialog::DoModal() {
  QWidget* owner = QApplication::activeModalWidget();
  if (owner == nullptr) owner = QApplication::activeWindow();
  DialogBackend::Build(*this, owner, false);
  DialogBackend::Init(*this);
  DialogWindow* window = native_->window.data();
  const int result = window != nullptr ? window->exec() : IDCANCEL;
  DestroyWindow();
  return result;
}

bool Dialog::Create(WindowHandle parent) {
  DialogBackend::Build(*this, QtWidget(parent), true);
  return DialogBackend::Init(*this);
}

void Dialog::DestroyWindow() {
  delete native_->window.data();
  native_->window.clear();
}

void Dialog::EndDialog(int result) {
  if (native_->window) native_->window->done(result);
}

WindowHandle Dialog::Item(int id) const {
  return HandleOf(ItemOf(native_->window.data(), id));
}

void Dialog::SetItemText(int id, const char* text) {
  QWidget* item = QtWidget(Item(id));
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
  } else if (qobject_cast<IpAddressWidget*>(item) != nullptr) {
    IpAddress(id).SetText(text != nullptr ? text : "");
  }
}

std::string Dialog::ItemText(int id) const {
  QWidget* item = QtWidget(Item(id));
  if (auto* label = qobject_cast<QLabel*>(item)) return ToCp1252(label->text());
  if (auto* button = qobject_cast<QAbstractButton*>(item)) return ToCp1252(button->text());
  if (auto* edit = qobject_cast<QLineEdit*>(item)) return ToCp1252(edit->text());
  if (auto* group = qobject_cast<QGroupBox*>(item)) return ToCp1252(group->title());
  if (auto* combo = qobject_cast<QComboBox*>(item)) return ToCp1252(combo->currentText());
  if (qobject_cast<IpAddressWidget*>(item) != nullptr) return IpAddress(id).Text();
  return {};
}

void Dialog::EnableItem(int id, bool enable) {
  if (QWidget* item = QtWidget(Item(id))) item->setEnabled(enable);
}

bool Dialog::IsItemEnabled(int id) const {
  const QWidget* item = QtWidget(Item(id));
  return item != nullptr && item->isEnabled();
}

void Dialog::ShowItem(int id, bool show) {
  if (QWidget* item = QtWidget(Item(id))) item->setVisible(show);
}

bool Dialog::IsChecked(int id) const {
  const auto* button = qobject_cast<const QAbstractButton*>(QtWidget(Item(id)));
  return button != nullptr && button->isChecked();
}

void Dialog::SetCheck(int id, bool checked) {
  auto* button = qobject_cast<QAbstractButton*>(QtWidget(Item(id)));
  if (button == nullptr || button->isChecked() == checked) return;
  // An exclusive group refuses to uncheck its last button.
  QButtonGroup* group = button->group();
  const bool exclusive = group != nullptr && group->exclusive();
  if (exclusive && !checked) group->setExclusive(false);
  button->setChecked(checked);
  if (exclusive && !checked) group->setExclusive(true);
}

void Dialog::LimitText(int id, int maxChars) {
  if (auto* edit = qobject_cast<QLineEdit*>(QtWidget(Item(id)))) {
    edit->setMaxLength(maxChars > 0 ? maxChars : 32767);
  }
}

void Dialog::FocusItem(int id) {
  QWidget* item = QtWidget(Item(id));
  if (item == nullptr) return;
  item->setFocus();
  if (auto* edit = qobject_cast<QLineEdit*>(item)) edit->selectAll();
}

void Dialog::SetCaption(const char* text) {
  if (native_->window) native_->window->setWindowTitle(FromCp1252(text));
}

void Dialog::Show(bool show) {
  if (native_->window) native_->window->setVisible(show);
}

void Dialog::Move(const Rect& rect) {
  if (native_->window) {
    native_->window->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    native_->window->update();
  }
}

// Linux gives the program no system menu: the entry goes into the window's context menu.
void Dialog::AddWindowMenuEntry(const char* text, std::function<void()> chosen) {
  QWidget* window = native_->window.data();
  if (window == nullptr || text == nullptr || *text == '\0') return;
  const std::size_t index = menuEntries_.size();
  menuEntries_.push_back(std::move(chosen));
  window->setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* separator = new QAction(window);
  separator->setSeparator(true);
  window->addAction(separator);
  auto* entry = new QAction(FromCp1252(text), window);
  entry->setObjectName(QStringLiteral("menuEntry%1").arg(index));
  QObject::connect(entry, &QAction::triggered, window, [this, index] { WindowMenuChosen(index); });
  window->addAction(entry);
}

}  // namespace azu
