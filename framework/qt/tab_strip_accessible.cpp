#include "framework/qt/tab_strip_accessible.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QHash>
#include <QPointer>
#include <mutex>
#include <utility>

#include "framework/qt/multi_row_tab_bar.h"
#include "framework/qt/tab_strip_widget.h"

namespace azu {
namespace {

// One tab of the bar for a screen reader: a page tab whose press selects it.
class TabAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  TabAccessible(MultiRowTabBar* bar, int index) : bar_(bar), index_(index) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                : nullptr;
  }
  [[nodiscard]] bool isValid() const override { return !bar_.isNull() && index_ < bar_->count(); }
  [[nodiscard]] QObject* object() const override { return nullptr; }
  [[nodiscard]] QWindow* window() const override {
    const QAccessibleInterface* bar = parent();
    return bar != nullptr ? bar->window() : nullptr;
  }
  [[nodiscard]] QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(bar_.data());
  }
  [[nodiscard]] QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
  [[nodiscard]] int childCount() const override { return 0; }
  [[nodiscard]] int indexOfChild(const QAccessibleInterface* /*child*/) const override {
    return -1;
  }
  [[nodiscard]] QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override {
    return nullptr;
  }
  [[nodiscard]] QString text(QAccessible::Text type) const override {
    return isValid() && type == QAccessible::Name ? bar_->tabText(index_) : QString();
  }
  void setText(QAccessible::Text /*type*/, const QString& /*text*/) override {}
  [[nodiscard]] QRect rect() const override {
    if (!isValid()) return {};
    const QRect tab = bar_->tabRect(index_);
    return {bar_->mapToGlobal(tab.topLeft()), tab.size()};
  }
  [[nodiscard]] QAccessible::Role role() const override { return QAccessible::PageTab; }
  [[nodiscard]] QAccessible::State state() const override {
    QAccessible::State state;
    if (!isValid()) {
      state.invalid = true;
      return state;
    }
    const bool current = bar_->currentIndex() == index_;
    state.selectable = true;
    state.focusable = true;
    state.selected = current;
    state.focused = current && bar_->hasFocus();
    state.invisible = !bar_->isVisible();
    state.disabled = !bar_->isEnabled();
    return state;
  }

  [[nodiscard]] QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override {
    if (isValid() && name == pressAction()) bar_->setCurrentIndex(index_);
  }
  [[nodiscard]] QStringList keyBindingsForAction(const QString& /*name*/) const override {
    return {};
  }

 private:
  QPointer<MultiRowTabBar> bar_;
  int index_;
};

// The bar for a screen reader: a page tab list whose children are its tabs.
class TabBarAccessible final : public QAccessibleWidget {
 public:
  explicit TabBarAccessible(MultiRowTabBar* bar)
      : QAccessibleWidget(bar, QAccessible::PageTabList) {}

  [[nodiscard]] int childCount() const override { return Bar()->count(); }
  [[nodiscard]] QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= Bar()->count()) return nullptr;
    const auto found = children_.constFind(index);
    if (found != children_.cend()) {
      if (QAccessibleInterface* known = QAccessible::accessibleInterface(*found)) return known;
    }
    // Qt's registry owns the interface from here; the destructor below lets it go.
    auto* tab = new TabAccessible(Bar(), index);
    children_.insert(index, QAccessible::registerAccessibleInterface(tab));
    return tab;
  }
  [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override {
    for (auto it = children_.cbegin(); it != children_.cend(); ++it) {
      if (QAccessible::accessibleInterface(it.value()) == child && it.key() < Bar()->count())
        return it.key();
    }
    return -1;
  }
  [[nodiscard]] QAccessibleInterface* childAt(int x, int y) const override {
    const int index = Bar()->tabAt(Bar()->mapFromGlobal(QPoint(x, y)));
    return index >= 0 ? child(index) : nullptr;
  }
  [[nodiscard]] QAccessibleInterface* focusChild() const override {
    if (Bar()->hasFocus() && Bar()->currentIndex() >= 0) return child(Bar()->currentIndex());
    return QAccessibleWidget::focusChild();
  }

 protected:
  ~TabBarAccessible() override {
    for (const QAccessible::Id id : std::as_const(children_))
      QAccessible::deleteAccessibleInterface(id);
  }

 private:
  [[nodiscard]] MultiRowTabBar* Bar() const { return static_cast<MultiRowTabBar*>(widget()); }

  mutable QHash<int, QAccessible::Id> children_;  // made on first request, by tab index
};

// The strip around the bar and the pages: a plain container. QWidget::hasFocus() follows the focus
// proxy, so Qt's own interface would report the strip focused, and itself as the focus, whenever
// the bar has it: a reader would land on an unnamed filler instead of the tab list.
class StripAccessible final : public QAccessibleWidget {
 public:
  explicit StripAccessible(TabStripWidget* strip) : QAccessibleWidget(strip) {}

  [[nodiscard]] QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.focused = false;
    return state;
  }
  [[nodiscard]] QAccessibleInterface* focusChild() const override {
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || !widget()->isAncestorOf(focus)) return nullptr;
    return QAccessible::queryAccessibleInterface(focus);
  }
};

// Qt's cache owns what a factory makes.
QAccessibleInterface* MakeAccessible(const QString& className, QObject* object) {
  if (auto* bar = qobject_cast<MultiRowTabBar*>(object);
      bar != nullptr && className == QLatin1String(MultiRowTabBar::staticMetaObject.className()))
    return new TabBarAccessible(bar);
  if (auto* strip = qobject_cast<TabStripWidget*>(object);
      strip != nullptr && className == QLatin1String(TabStripWidget::staticMetaObject.className()))
    return new StripAccessible(strip);
  return nullptr;
}

}  // namespace

void InstallTabStripAccessibility() {
  static std::once_flag installed;
  std::call_once(installed, [] { QAccessible::installFactory(&MakeAccessible); });
}

}  // namespace azu
