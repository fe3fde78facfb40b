#include "framework/tab_control.h"

#include <QEvent>
#include <QSignalBlocker>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <algorithm>

#include "framework/qt/multi_row_tab_bar.h"
#include "framework/qt/qt_dialog.h"
#include "framework/qt/qt_text.h"
#include "framework/qt/tab_strip_widget.h"

namespace azu {
namespace {

constexpr int kBarInset = 2;  // the tabs start this far in from each side of the frame

TabStripWidget* StripOf(WindowHandle control) {
  return qobject_cast<TabStripWidget*>(QtWidget(control));
}

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
  TabStripWidget* strip = StripOf(control_);
  if (strip == nullptr) return -1;
  MultiRowTabBar* bar = strip->Bar();
  const QSignalBlocker blocker(bar);
  const int at = bar->insertTab(std::clamp(index, 0, bar->count()), FromCp1252(text));
  bar->setTabData(at, QVariant::fromValue(reinterpret_cast<quintptr>(param)));
  strip->FitBar();
  return at;
}

int TabControl::GetItemCount() const {
  TabStripWidget* strip = StripOf(control_);
  return strip != nullptr ? strip->Bar()->count() : 0;
}

void* TabControl::GetItemParam(int index) const {
  TabStripWidget* strip = StripOf(control_);
  if (strip == nullptr || index < 0 || index >= strip->Bar()->count()) return nullptr;
  return reinterpret_cast<void*>(strip->Bar()->tabData(index).value<quintptr>());
}

int TabControl::GetCurSel() const {
  TabStripWidget* strip = StripOf(control_);
  return strip != nullptr ? strip->Bar()->currentIndex() : -1;
}

void TabControl::DeleteAllItems() {
  TabStripWidget* strip = StripOf(control_);
  if (strip == nullptr) return;
  const QSignalBlocker blocker(strip->Bar());
  while (strip->Bar()->count() > 0) strip->Bar()->removeTab(0);
  strip->FitBar();
}

Rect TabControl::GetClientRect() const {
  TabStripWidget* strip = StripOf(control_);
  if (strip == nullptr) return {};
  return {0, 0, strip->width(), strip->height()};
}

int TabControl::RowCount() const {
  TabStripWidget* strip = StripOf(control_);
  return strip != nullptr ? strip->Bar()->rowCount() : 0;
}

int TabControl::ExtraRowsHeight() const {
  TabStripWidget* strip = StripOf(control_);
  if (strip == nullptr) return 0;
  const MultiRowTabBar* bar = strip->Bar();
  return std::max(bar->rowCount() - 1, 0) * bar->rowHeight();
}

void TabControl::SelectNext(bool forward) {
  if (TabStripWidget* strip = StripOf(control_)) strip->Bar()->selectNext(forward);
}

}  // namespace azu
