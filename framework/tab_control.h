#pragma once
// The tab strip control: a row of tabs over a framed client area that hosts child dialogs, and
// the index-addressed wrapper the main window uses (each tab carries a caller's pointer).

#include <QWidget>
#include <string>

class QTabBar;

namespace azu {

class TabStripWidget final : public QWidget {
  Q_OBJECT

 public:
  explicit TabStripWidget(QWidget* parent = nullptr);
  [[nodiscard]] QTabBar* Bar() const { return bar_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QTabBar* bar_;
};

class TabControl {
 public:
  explicit TabControl(TabStripWidget* control) : control_(control) {}

  // Inserts a tab with `text` (Windows-1252) carrying `param`; returns its index. Never raises a
  // selection change.
  int InsertItem(int index, const char* text, void* param);
  [[nodiscard]] int GetItemCount() const;
  [[nodiscard]] void* GetItemParam(int index) const;
  [[nodiscard]] std::string GetItemText(int index) const;
  [[nodiscard]] int GetCurSel() const;
  int SetCurSel(int index);
  void DeleteAllItems();
  // The client area in the control's own pixels (the whole control, as the Windows control
  // reports it).
  [[nodiscard]] QRect GetClientRect() const;
  [[nodiscard]] QWidget* Widget() const { return control_; }
  [[nodiscard]] bool IsValid() const { return control_ != nullptr; }

 private:
  TabStripWidget* control_;
};

}  // namespace azu
