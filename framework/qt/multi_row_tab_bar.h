#pragma once
// A tab bar whose tabs wrap into rows, as the Windows multi-line tab control's do: every tab stays
// whole and clickable however long the texts of a language are.

#include <QString>
#include <QVariant>
#include <QWidget>
#include <vector>

class QStyleOptionTab;

namespace azu {

// Tabs with a text and a data value in rows of the bar's width, as few as they need and as even
// as Windows makes them; the row of the selected tab is drawn at the bottom, next to the page.
class MultiRowTabBar final : public QWidget {
  Q_OBJECT

 public:
  explicit MultiRowTabBar(QWidget* parent = nullptr);

  [[nodiscard]] int count() const { return static_cast<int>(tabs_.size()); }
  // Inserts at `index` (appends when out of range); returns the tab's index.
  int insertTab(int index, const QString& text);
  void removeTab(int index);
  [[nodiscard]] QString tabText(int index) const;
  void setTabData(int index, const QVariant& data);
  [[nodiscard]] QVariant tabData(int index) const;
  [[nodiscard]] int currentIndex() const { return current_; }
  void setCurrentIndex(int index);
  // Selects the next (or previous) tab, wrapping around at the ends.
  void selectNext(bool forward);
  [[nodiscard]] int tabAt(QPoint position) const;
  // In the bar's own pixels, for its current width.
  [[nodiscard]] QRect tabRect(int index) const;
  [[nodiscard]] int rowCount() const;
  [[nodiscard]] int rowHeight() const { return rowHeight_; }
  // The option tab `index` is painted with.
  void initStyleOption(QStyleOptionTab* option, int index) const;

  [[nodiscard]] bool hasHeightForWidth() const override { return true; }
  [[nodiscard]] int heightForWidth(int width) const override;
  [[nodiscard]] QSize sizeHint() const override;

 signals:
  // Whenever currentIndex() changes: a click, a key, setCurrentIndex, or a tab inserted or
  // removed before or at the selected one.
  void currentChanged(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  struct Tab {
    QString text;
    QVariant data;
    int width = 0;  // natural width from the style, before a row is stretched
  };

  [[nodiscard]] QSize TabSize(const QString& text) const;
  void Measure();
  [[nodiscard]] std::vector<int> Widths() const;
  // Makes `index` current; `force` when another tab took the same index.
  void MakeCurrent(int index, bool force);
  void TabsChanged();
  // Tells a screen reader the focus is on the selected tab, so that it says the tab's name.
  void ReportFocusedTab();
  void SetHover(int index);

  std::vector<Tab> tabs_;
  int current_ = -1;
  int hover_ = -1;
  int rowHeight_ = 0;
};

}  // namespace azu
