#pragma once
// The Qt widget of the multi-line tab control: a bar of wrapping tabs with the tab-widget frame
// below its last row, hosting child dialogs in its client area.

#include <QWidget>

#include "framework/qt/multi_row_tab_bar.h"

namespace azu {

class TabStripWidget final : public QWidget {
  Q_OBJECT

 public:
  explicit TabStripWidget(QWidget* parent = nullptr);
  [[nodiscard]] MultiRowTabBar* Bar() const { return bar_; }
  // Gives the bar the strip's width and the height of its rows.
  void FitBar();

 protected:
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  MultiRowTabBar* bar_;
};

}  // namespace azu
