#include "framework/list_view.h"

#include <QFontMetrics>
#include <QTreeWidget>

#include "framework/qt_text.h"

namespace azu {

int ListView::InsertColumn(int column, const char* heading) {
  if (control_ == nullptr) return -1;
  const int count = std::max(control_->columnCount(), column + 1);
  control_->setColumnCount(count);
  control_->headerItem()->setText(column, FromCp1252(heading));
  return column;
}

int ListView::InsertItem(int index, const char* text) {
  if (control_ == nullptr) return -1;
  auto* item = new QTreeWidgetItem(QStringList{FromCp1252(text)});
  const int at = std::clamp(index, 0, control_->topLevelItemCount());
  control_->insertTopLevelItem(at, item);  // a sorted list moves it into place
  return control_->indexOfTopLevelItem(item);
}

void ListView::SetColumnWidth(int column, int pixels) {
  if (control_ != nullptr) control_->setColumnWidth(column, pixels);
}

int ListView::GetStringWidth(const char* text) const {
  if (control_ == nullptr) return 0;
  return QFontMetrics(control_->font()).horizontalAdvance(FromCp1252(text));
}

std::string ListView::GetItemText(int index) const {
  if (control_ == nullptr || index < 0 || index >= control_->topLevelItemCount()) return {};
  return ToCp1252(control_->topLevelItem(index)->text(0));
}

int ListView::GetSelectedIndex() const {
  if (control_ == nullptr) return -1;
  const QList<QTreeWidgetItem*> selected = control_->selectedItems();
  return selected.isEmpty() ? -1 : control_->indexOfTopLevelItem(selected.front());
}

}  // namespace azu
