#include "framework/tab_control.h"

#include <QSignalBlocker>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>
#include <algorithm>

#include "framework/qt_text.h"

namespace azu {

TabStripWidget::TabStripWidget(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
  bar_->setObjectName(QStringLiteral("tabBar"));
  bar_->setDrawBase(false);
  bar_->setExpanding(false);
  bar_->setUsesScrollButtons(false);  // several rows are not needed for seven tabs at most
  bar_->move(2, 0);
}

void TabStripWidget::resizeEvent(QResizeEvent* /*event*/) {
  bar_->resize(width() - 4, bar_->sizeHint().height());
}

void TabStripWidget::paintEvent(QPaintEvent* /*event*/) {
  QStylePainter painter(this);
  QStyleOptionTabWidgetFrame frame;
  frame.initFrom(this);
  frame.rect = rect().adjusted(0, bar_->height() - 1, 0, 0);
  frame.tabBarSize = bar_->size();
  frame.shape = QTabBar::RoundedNorth;
  painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

int TabControl::InsertItem(int index, const char* text, void* param) {
  if (control_ == nullptr) return -1;
  QTabBar* bar = control_->Bar();
  const QSignalBlocker blocker(bar);
  const int at = bar->insertTab(std::clamp(index, 0, bar->count()), FromCp1252(text));
  bar->setTabData(at, QVariant::fromValue(reinterpret_cast<quintptr>(param)));
  bar->resize(control_->width() - 4, bar->sizeHint().height());
  return at;
}

int TabControl::GetItemCount() const {
  return control_ != nullptr ? control_->Bar()->count() : 0;
}

void* TabControl::GetItemParam(int index) const {
  if (control_ == nullptr || index < 0 || index >= control_->Bar()->count()) return nullptr;
  return reinterpret_cast<void*>(control_->Bar()->tabData(index).value<quintptr>());
}

std::string TabControl::GetItemText(int index) const {
  if (control_ == nullptr || index < 0 || index >= control_->Bar()->count()) return {};
  return ToCp1252(control_->Bar()->tabText(index));
}

int TabControl::GetCurSel() const {
  return control_ != nullptr ? control_->Bar()->currentIndex() : -1;
}

int TabControl::SetCurSel(int index) {
  if (control_ == nullptr || index < 0 || index >= control_->Bar()->count()) return -1;
  const QSignalBlocker blocker(control_->Bar());
  const int previous = control_->Bar()->currentIndex();
  control_->Bar()->setCurrentIndex(index);
  return previous;
}

void TabControl::DeleteAllItems() {
  if (control_ == nullptr) return;
  const QSignalBlocker blocker(control_->Bar());
  while (control_->Bar()->count() > 0) control_->Bar()->removeTab(0);
}

QRect TabControl::GetClientRect() const {
  return control_ != nullptr ? control_->rect() : QRect();
}

}  // namespace azu
