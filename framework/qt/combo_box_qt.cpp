#include "framework/combo_box.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "framework/dialog_template.h"
#include "framework/qt/qt_dialog.h"
#include "framework/qt/qt_text.h"

namespace azu {
namespace {

QComboBox* ComboOf(WindowHandle control) {
  return qobject_cast<QComboBox*>(QtWidget(control));
}

int Insert(QComboBox* combo, int index, const char* text) {
  const QSignalBlocker blocker(combo);
  const int selected = combo->currentIndex();
  combo->insertItem(index, FromCp1252(text));
  // Qt selects the first item added to an empty list; a Windows list stays unselected.
  if (selected < 0) combo->setCurrentIndex(-1);
  return index;
}

}  // namespace

int ComboBox::AddString(const char* text) {
  QComboBox* combo = ComboOf(control_);
  if (combo == nullptr) return CB_ERR;
  int index = combo->count();
  if ((combo->property("azuStyle").toUInt() & style::kSort) != 0) {
    const QString item = FromCp1252(text);
    index = 0;
    while (index < combo->count() &&
           QString::compare(combo->itemText(index), item, Qt::CaseInsensitive) <= 0) {
      ++index;
    }
  }
  return Insert(combo, index, text);
}

int ComboBox::InsertString(int index, const char* text) {
  QComboBox* combo = ComboOf(control_);
  if (combo == nullptr || index > combo->count()) return CB_ERR;
  return Insert(combo, index < 0 ? combo->count() : index, text);
}

int ComboBox::SetCurSel(int index) {
  QComboBox* combo = ComboOf(control_);
  if (combo == nullptr) return CB_ERR;
  const QSignalBlocker blocker(combo);
  if (index < 0 || index >= combo->count()) {
    combo->setCurrentIndex(-1);
    return CB_ERR;
  }
  combo->setCurrentIndex(index);
  return index;
}

int ComboBox::GetCurSel() const {
  const QComboBox* combo = ComboOf(control_);
  return combo != nullptr ? combo->currentIndex() : CB_ERR;
}

int ComboBox::GetCount() const {
  const QComboBox* combo = ComboOf(control_);
  return combo != nullptr ? combo->count() : 0;
}

std::string ComboBox::GetLBText(int index) const {
  const QComboBox* combo = ComboOf(control_);
  if (combo == nullptr || index < 0 || index >= combo->count()) return {};
  return ToCp1252(combo->itemText(index));
}

std::string ComboBox::GetSelectedText() const {
  return GetLBText(GetCurSel());
}

void ComboBox::ResetContent() {
  QComboBox* combo = ComboOf(control_);
  if (combo == nullptr) return;
  const QSignalBlocker blocker(combo);
  combo->clear();
}

}  // namespace azu
