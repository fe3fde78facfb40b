#pragma once
// The tab strip control: rows of tabs over a framed client area that hosts child dialogs, and
// the index-addressed wrapper the main window uses (each tab carries a caller's pointer).

#include <QWidget>

#include "framework/multi_row_tab_bar.h"

namespace azu {

// The multi-line tab control: a bar of wrapping tabs with the tab-widget frame below its last row.
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

// Windows-style access to a tab strip by index; none of its calls raises a selection change.
class TabControl {
 public:
  explicit TabControl(TabStripWidget* control) : control_(control) {}

  // Inserts a tab with `text` (Windows-1252) carrying `param`; returns its index.
  int InsertItem(int index, const char* text, void* param);
  [[nodiscard]] int GetItemCount() const;
  [[nodiscard]] void* GetItemParam(int index) const;
  [[nodiscard]] int GetCurSel() const;
  void DeleteAllItems();
  // The client area in the control's own pixels (the whole control, as the Windows control
  // reports it).
  [[nodiscard]] QRect GetClientRect() const;
  [[nodiscard]] int RowCount() const;
  // How much taller the tabs are than one row: pages sit this much lower.
  [[nodiscard]] int ExtraRowsHeight() const;
  [[nodiscard]] QWidget* Widget() const { return control_; }
  [[nodiscard]] bool IsValid() const { return control_ != nullptr; }

 private:
  TabStripWidget* control_;
};

}  // namespace azu
