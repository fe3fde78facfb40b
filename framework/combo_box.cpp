#include "framework/combo_box.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "framework/dialog_template.h"
#include "framework/qt_text.h"

namespace azu {

int ComboBox::Insert(int index, const char* text) {
  if (control_ == nullptr) return CB_ERR;
  const QSignalBlocker blocker(control_);
  const int selected = control_->currentIndex();
  control_->insertItem(index, FromCp1252(text));
  // Qt selects the first item added to an empty list; a Windows list stays unselected.
  if (selected < 0) control_->setCurrentIndex(-1);
  return index;
}

int ComboBox::AddString(const char* text) {
  if (control_ == nullptr) return CB_ERR;
  int index = control_->count();
  if ((control_->property("azuStyle").toUInt() & style::kSort) != 0) {
    const QString item = FromCp1252(text);
    index = 0;
    while (index < control_->count() &&
           QString::compare(control_->itemText(index), item, Qt::CaseInsensitive) <= 0) {
      ++index;
    }
  }
  return Insert(index, text);
}

int ComboBox::InsertString(int index, const char* text) {
  if (control_ == nullptr || index > control_->count()) return CB_ERR;
  return Insert(index < 0 ? control_->count() : index, text);
}

int ComboBox::SetCurSel(int index) {
  if (control_ == nullptr) return CB_ERR;
  const QSignalBlocker blocker(control_);
  if (index < 0 || index >= control_->count()) {
    control_->setCurrentIndex(-1);
    return CB_ERR;
  }
  control_->setCurrentIndex(index);
  return index;
}

int ComboBox::GetCurSel() const {
  return control_ != nullptr ? control_->currentIndex() : CB_ERR;
}

std::string ComboBox::GetLBText(int index) const {
  if (control_ == nullptr || index < 0 || index >= control_->count()) return {};
  return ToCp1252(control_->itemText(index));
}

std::string ComboBox::GetWindowText() const {
  return GetLBText(GetCurSel());
}

void ComboBox::ResetContent() {
  if (control_ == nullptr) return;
  const QSignalBlocker blocker(control_);
  control_->clear();
}

}  // namespace azu
