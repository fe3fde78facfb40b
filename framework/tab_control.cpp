#include "framework/tab_control.h"

#include <QEvent>
#include <QSignalBlocker>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <algorithm>

#include "framework/multi_row_tab_bar.h"
#include "framework/qt_text.h"

namespace azu {
namespace {

constexpr int kBarInset = 2;  // the tabs start this far in from each side of the frame

}  // namespace

TabStripWidget::TabStripWidget(QWidget* parent) : QWidget(parent), bar_(new MultiRowTabBar(this)) {
  bar_->setObjectName(QStringLiteral("tabBar"));
  setFocusProxy(bar_);
  FitBar();
}

void TabStripWidget::FitBar() {
  const int barWidth = std::max(width() - 2 * kBarInset, 0);
  bar_->setGeometry(kBarInset, 0, barWidth, bar_->heightForWidth(barWidth));
  update();
}

bool TabStripWidget::event(QEvent* event) {
  // The bar asks for this when its rows change outside the wrapper's calls.
  if (event->type() == QEvent::LayoutRequest) FitBar();
  return QWidget::event(event);
}

void TabStripWidget::resizeEvent(QResizeEvent* /*event*/) {
  FitBar();
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
  MultiRowTabBar* bar = control_->Bar();
  const QSignalBlocker blocker(bar);
  const int at = bar->insertTab(std::clamp(index, 0, bar->count()), FromCp1252(text));
  bar->setTabData(at, QVariant::fromValue(reinterpret_cast<quintptr>(param)));
  control_->FitBar();
  return at;
}

int TabControl::GetItemCount() const {
  return control_ != nullptr ? control_->Bar()->count() : 0;
}

void* TabControl::GetItemParam(int index) const {
  if (control_ == nullptr || index < 0 || index >= control_->Bar()->count()) return nullptr;
  return reinterpret_cast<void*>(control_->Bar()->tabData(index).value<quintptr>());
}

int TabControl::GetCurSel() const {
  return control_ != nullptr ? control_->Bar()->currentIndex() : -1;
}

void TabControl::DeleteAllItems() {
  if (control_ == nullptr) return;
  const QSignalBlocker blocker(control_->Bar());
  while (control_->Bar()->count() > 0) control_->Bar()->removeTab(0);
  control_->FitBar();
}

QRect TabControl::GetClientRect() const {
  return control_ != nullptr ? control_->rect() : QRect();
}

int TabControl::RowCount() const {
  return control_ != nullptr ? control_->Bar()->rowCount() : 0;
}

int TabControl::ExtraRowsHeight() const {
  if (control_ == nullptr) return 0;
  const MultiRowTabBar* bar = control_->Bar();
  return std::max(bar->rowCount() - 1, 0) * bar->rowHeight();
}

}  // namespace azu
