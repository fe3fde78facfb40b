#include "framework/list_view.h"

#include <QFontMetrics>
#include <QTreeWidget>
#include <algorithm>

#include "framework/qt/qt_dialog.h"
#include "framework/qt/qt_text.h"

namespace azu {
namespace {

QTreeWidget* TreeOf(WindowHandle control) {
  return qobject_cast<QTreeWidget*>(QtWidget(control));
}

}  // namespace

int ListView::InsertColumn(int column, const char* heading) {
  QTreeWidget* list = TreeOf(control_);
  if (list == nullptr) return -1;
  const int count = std::max(list->columnCount(), column + 1);
  list->setColumnCount(count);
  list->headerItem()->setText(column, FromCp1252(heading));
  return column;
}

int ListView::InsertItem(int index, const char* text) {
  QTreeWidget* list = TreeOf(control_);
  if (list == nullptr) return -1;
  auto* item = new QTreeWidgetItem(QStringList{FromCp1252(text)});
  const int at = std::clamp(index, 0, list->topLevelItemCount());
  list->insertTopLevelItem(at, item);  // a sorted list moves it into place
  return list->indexOfTopLevelItem(item);
}

void ListView::SetColumnWidth(int column, int pixels) {
  if (QTreeWidget* list = TreeOf(control_)) list->setColumnWidth(column, pixels);
}

int ListView::GetColumnWidth(int column) const {
  const QTreeWidget* list = TreeOf(control_);
  return list != nullptr ? list->columnWidth(column) : 0;
}

int ListView::GetStringWidth(const char* text) const {
  const QTreeWidget* list = TreeOf(control_);
  if (list == nullptr) return 0;
  return QFontMetrics(list->font()).horizontalAdvance(FromCp1252(text));
}

int ListView::GetItemCount() const {
  const QTreeWidget* list = TreeOf(control_);
  return list != nullptr ? list->topLevelItemCount() : 0;
}

std::string ListView::GetItemText(int index) const {
  const QTreeWidget* list = TreeOf(control_);
  if (list == nullptr || index < 0 || index >= list->topLevelItemCount()) return {};
  return ToCp1252(list->topLevelItem(index)->text(0));
}

int ListView::GetSelectedIndex() const {
  const QTreeWidget* list = TreeOf(control_);
  if (list == nullptr) return -1;
  const QList<QTreeWidgetItem*> selected = list->selectedItems();
  return selected.isEmpty() ? -1 : list->indexOfTopLevelItem(selected.front());
}

void ListView::SelectItem(int index) {
  QTreeWidget* list = TreeOf(control_);
  if (list == nullptr) return;
  if (index < 0 || index >= list->topLevelItemCount()) {
    list->clearSelection();
  } else {
    list->setCurrentItem(list->topLevelItem(index));
  }
}

}  // namespace azu
