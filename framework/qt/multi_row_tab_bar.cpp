#include "framework/qt/multi_row_tab_bar.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <algorithm>
#include <numeric>
#include <optional>

#include "framework/qt/tab_strip_accessible.h"

namespace azu {
namespace {

// Where one tab sits: its row in packing order and its span within that row.
struct Slot {
  int row = 0;
  int x = 0;
  int width = 0;
};

int RowsOf(const std::vector<Slot>& places) {
  return places.empty() ? 0 : places.back().row + 1;
}

// The tabs of each row for `rows` rows as even as counts go, the earlier rows taking one more;
// nullopt when a row would not fit.
std::optional<std::vector<Slot>> EvenRows(const std::vector<int>& widths, int available, int rows) {
  const std::size_t perRow = widths.size() / static_cast<std::size_t>(rows);
  const std::size_t longer = widths.size() % static_cast<std::size_t>(rows);
  std::vector<Slot> places(widths.size());
  std::size_t i = 0;
  for (int row = 0; row < rows; ++row) {
    const std::size_t end = i + perRow + (static_cast<std::size_t>(row) < longer ? 1 : 0);
    int x = 0;
    for (; i < end; ++i) {
      const int width = std::min(widths[i], available);  // a tab wider than the bar is cut
      if (x > 0 && x + width > available) return std::nullopt;
      places[i] = Slot{row, x, width};
      x += width;
    }
  }
  return places;
}

// As the Windows multi-line tab control lays out its rows: as few rows as greedy packing needs,
// with the tabs then spread evenly over them (5 tabs in 2 rows: 3 and 2, not 4 and 1), one row
// more where tabs of unequal widths do not fit so. With more than one row every row is stretched
// to the full width, without ragged rows.
std::vector<Slot> PackRows(const std::vector<int>& widths, int available) {
  available = std::max(available, 1);
  int rows = 1;
  for (int x = 0; const int tab : widths) {
    const int width = std::min(tab, available);
    if (x > 0 && x + width > available) {
      ++rows;
      x = 0;
    }
    x += width;
  }
  // One tab a row always fits, so this ends.
  std::optional<std::vector<Slot>> even;
  for (; !even; ++rows) even = EvenRows(widths, available, rows);
  std::vector<Slot> places = std::move(*even);
  if (RowsOf(places) <= 1) return places;
  for (std::size_t first = 0; first < places.size();) {
    std::size_t end = first;
    int used = 0;
    while (end < places.size() && places[end].row == places[first].row) used += places[end++].width;
    const int tabs = static_cast<int>(end - first);
    const int extra = available - used;
    int left = 0;
    for (std::size_t i = first; i < end; ++i) {
      const int place = static_cast<int>(i - first);
      places[i].width += extra / tabs + (place < extra % tabs ? 1 : 0);
      places[i].x = left;
      left += places[i].width;
    }
    first = end;
  }
  return places;
}

// The style reads '&' as a mnemonic marker; tab texts show it as is.
QString Literal(QString text) {
  return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// The tab a navigation key moves to; nothing for other keys.
std::optional<int> KeyTarget(int key, int current, int count) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Up:
      return current - 1;
    case Qt::Key_Right:
    case Qt::Key_Down:
      return current + 1;
    case Qt::Key_Home:
      return 0;
    case Qt::Key_End:
      return count - 1;
    default:
      return std::nullopt;
  }
}

}  // namespace

MultiRowTabBar::MultiRowTabBar(QWidget* parent) : QWidget(parent) {
  InstallTabStripAccessibility();
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);  // for the hovered tab
  QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  policy.setHeightForWidth(true);
  setSizePolicy(policy);
  Measure();
}

int MultiRowTabBar::insertTab(int index, const QString& text) {
  const int at = index < 0 || index > count() ? count() : index;
  tabs_.insert(tabs_.begin() + at, Tab{text, QVariant(), TabSize(text).width()});
  hover_ = -1;
  if (current_ < 0) {
    MakeCurrent(at, false);
  } else if (at <= current_) {
    MakeCurrent(current_ + 1, false);
  }
  TabsChanged();
  return at;
}

void MultiRowTabBar::removeTab(int index) {
  if (index < 0 || index >= count()) return;
  tabs_.erase(tabs_.begin() + index);
  hover_ = -1;
  if (index < current_) {
    MakeCurrent(current_ - 1, false);
  } else if (index == current_) {
    // The tab that moves into its place (or the new last one) becomes current.
    MakeCurrent(std::min(index, count() - 1), true);
  }
  TabsChanged();
}

QString MultiRowTabBar::tabText(int index) const {
  return index >= 0 && index < count() ? tabs_[static_cast<std::size_t>(index)].text : QString();
}

void MultiRowTabBar::setTabData(int index, const QVariant& data) {
  if (index >= 0 && index < count()) tabs_[static_cast<std::size_t>(index)].data = data;
}

QVariant MultiRowTabBar::tabData(int index) const {
  return index >= 0 && index < count() ? tabs_[static_cast<std::size_t>(index)].data : QVariant();
}

void MultiRowTabBar::setCurrentIndex(int index) {
  if (index >= 0 && index < count()) MakeCurrent(index, false);
}

void MultiRowTabBar::selectNext(bool forward) {
  if (count() == 0) return;
  if (current_ < 0) {
    MakeCurrent(forward ? 0 : count() - 1, false);
  } else {
    MakeCurrent((current_ + (forward ? 1 : count() - 1)) % count(), false);
  }
}

int MultiRowTabBar::tabAt(QPoint position) const {
  for (int i = 0; i < count(); ++i) {
    if (tabRect(i).contains(position)) return i;
  }
  return -1;
}

QRect MultiRowTabBar::tabRect(int index) const {
  if (index < 0 || index >= count()) return {};
  const std::vector<Slot> places = PackRows(Widths(), width());
  const int rows = std::max(1, RowsOf(places));
  const Slot& slot = places[static_cast<std::size_t>(index)];
  // The rows turn so that the selected tab's row is the bottom one; the others keep their order
  // above it, wrapping around.
  const int bottom = current_ >= 0 ? places[static_cast<std::size_t>(current_)].row : 0;
  const int aboveBottom = (slot.row - bottom + rows) % rows;
  return {slot.x, (rows - 1 - aboveBottom) * rowHeight_, slot.width, rowHeight_};
}

int MultiRowTabBar::rowCount() const {
  return RowsOf(PackRows(Widths(), width()));
}

void MultiRowTabBar::initStyleOption(QStyleOptionTab* option, int index) const {
  option->initFrom(this);
  option->state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
  option->shape = QTabBar::RoundedNorth;
  option->tabIndex = index;
  if (index < 0 || index >= count()) return;
  const std::vector<Slot> places = PackRows(Widths(), width());
  const auto at = static_cast<std::size_t>(index);
  const bool first = at == 0 || places[at - 1].row != places[at].row;
  const bool last = at + 1 == places.size() || places[at + 1].row != places[at].row;
  option->position = first && last ? QStyleOptionTab::OnlyOneTab
                     : first       ? QStyleOptionTab::Beginning
                     : last        ? QStyleOptionTab::End
                                   : QStyleOptionTab::Middle;
  option->row = places[at].row;
  const bool currentInRow =
      current_ >= 0 && places[static_cast<std::size_t>(current_)].row == places[at].row;
  option->selectedPosition = !currentInRow           ? QStyleOptionTab::NotAdjacent
                             : current_ == index - 1 ? QStyleOptionTab::PreviousIsSelected
                             : current_ == index + 1 ? QStyleOptionTab::NextIsSelected
                                                     : QStyleOptionTab::NotAdjacent;
  if (index == current_) {
    option->state |= QStyle::State_Selected;
    if (hasFocus()) option->state |= QStyle::State_HasFocus;
  }
  if (index == hover_) option->state |= QStyle::State_MouseOver;
  option->rect = tabRect(index);

  const QString& text = tabs_[at].text;
  option->text = Literal(text);
  const int room = style()->subElementRect(QStyle::SE_TabBarTabText, option, this).width();
  if (fontMetrics().horizontalAdvance(text) > room) {
    option->text = Literal(fontMetrics().elidedText(text, Qt::ElideRight, room));
  }
}

int MultiRowTabBar::heightForWidth(int width) const {
  return RowsOf(PackRows(Widths(), width)) * rowHeight_;
}

QSize MultiRowTabBar::sizeHint() const {
  const std::vector<int> widths = Widths();
  const int natural = std::accumulate(widths.begin(), widths.end(), 0);
  const int width = this->width() > 0 ? this->width() : natural;
  return {width, heightForWidth(width)};
}

void MultiRowTabBar::paintEvent(QPaintEvent* /*event*/) {
  QStylePainter painter(this);
  // Far rows first and the selected tab last, so that it overlaps its neighbours.
  std::vector<int> order(tabs_.size());
  std::iota(order.begin(), order.end(), 0);
  std::vector<QRect> rects;
  rects.reserve(order.size());
  for (int index : order) rects.push_back(tabRect(index));
  std::stable_sort(order.begin(), order.end(), [&rects](int a, int b) {
    return rects[static_cast<std::size_t>(a)].top() < rects[static_cast<std::size_t>(b)].top();
  });
  std::stable_partition(order.begin(), order.end(),
                        [this](int index) { return index != current_; });
  for (int index : order) {
    QStyleOptionTab option;
    initStyleOption(&option, index);
    painter.drawControl(QStyle::CE_TabBarTab, option);
  }
}

void MultiRowTabBar::mousePressEvent(QMouseEvent* event) {
  const int index = event->button() == Qt::LeftButton ? tabAt(event->position().toPoint()) : -1;
  if (index < 0) {
    QWidget::mousePressEvent(event);
    return;
  }
  setCurrentIndex(index);
  event->accept();
}

void MultiRowTabBar::mouseMoveEvent(QMouseEvent* event) {
  SetHover(tabAt(event->position().toPoint()));
  QWidget::mouseMoveEvent(event);
}

void MultiRowTabBar::leaveEvent(QEvent* event) {
  SetHover(-1);
  QWidget::leaveEvent(event);
}

void MultiRowTabBar::keyPressEvent(QKeyEvent* event) {
  const std::optional<int> target = KeyTarget(event->key(), current_, count());
  if (!target) {
    QWidget::keyPressEvent(event);
    return;
  }
  setCurrentIndex(*target);  // no wrap: a target past either end is ignored
  event->accept();
}

void MultiRowTabBar::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  // Qt reports the bar itself as focused right after this event, so the tab's report has to wait
  // for it; a reader would otherwise hear the unnamed list alone.
  if (QAccessible::isActive()) {
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (hasFocus()) ReportFocusedTab();
        },
        Qt::QueuedConnection);
  }
}

void MultiRowTabBar::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    Measure();
    updateGeometry();
    update();
  }
  QWidget::changeEvent(event);
}

QSize MultiRowTabBar::TabSize(const QString& text) const {
  QStyleOptionTab option;
  option.initFrom(this);
  option.shape = QTabBar::RoundedNorth;
  option.text = Literal(text);
  const QFontMetrics metrics = fontMetrics();
  const int hspace = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this);
  const int vspace = style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this);
  const QSize contents(metrics.horizontalAdvance(text) + hspace, metrics.height() + vspace);
  return style()->sizeFromContents(QStyle::CT_TabBarTab, &option, contents, this);
}

void MultiRowTabBar::Measure() {
  rowHeight_ = TabSize(QString()).height();  // one line of text, whatever the text
  for (Tab& tab : tabs_) tab.width = TabSize(tab.text).width();
}

std::vector<int> MultiRowTabBar::Widths() const {
  std::vector<int> widths;
  widths.reserve(tabs_.size());
  for (const Tab& tab : tabs_) widths.push_back(tab.width);
  return widths;
}

void MultiRowTabBar::MakeCurrent(int index, bool force) {
  if (index == current_ && !force) return;
  current_ = index;
  update();
  if (current_ >= 0 && QAccessible::isActive()) {
    if (hasFocus()) ReportFocusedTab();
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(current_);
    QAccessible::updateAccessibility(&selection);
  }
  emit currentChanged(current_);
}

void MultiRowTabBar::TabsChanged() {
  updateGeometry();  // the parent fits the bar to its new rows
  update();
  if (QAccessible::isActive()) {
    QAccessibleEvent event(this, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&event);
  }
}

void MultiRowTabBar::ReportFocusedTab() {
  if (current_ < 0) return;
  QAccessibleEvent focus(this, QAccessible::Focus);
  focus.setChild(current_);
  QAccessible::updateAccessibility(&focus);
}

void MultiRowTabBar::SetHover(int index) {
  if (index == hover_) return;
  hover_ = index;
  update();
}

}  // namespace azu
