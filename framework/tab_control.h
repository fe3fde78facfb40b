#pragma once
// The tab strip control, addressed by index as the main window uses it: rows of tabs over a
// client area that hosts child dialogs, each tab carrying a caller's pointer. None of its calls
// raises a selection change.

#include "framework/window_handle.h"

namespace azu {

class TabControl {
 public:
  explicit TabControl(WindowHandle control) : control_(control) {}

  // Inserts a tab with `text` (Windows-1252) carrying `param`; returns its index.
  int InsertItem(int index, const char* text, void* param);
  [[nodiscard]] int GetItemCount() const;
  [[nodiscard]] void* GetItemParam(int index) const;
  [[nodiscard]] int GetCurSel() const;
  void DeleteAllItems();
  // The client area in the control's own pixels (the whole control, as the Windows control
  // reports it).
  [[nodiscard]] Rect GetClientRect() const;
  [[nodiscard]] int RowCount() const;
  // How much taller the tabs are than one row: pages sit this much lower.
  [[nodiscard]] int ExtraRowsHeight() const;
  // Ctrl+Tab: the next (or previous) tab, wrapping, notified as the user's choice.
  void SelectNext(bool forward);
  [[nodiscard]] WindowHandle Handle() const { return control_; }
  [[nodiscard]] bool IsValid() const { return control_ != nullptr; }

 private:
  WindowHandle control_;
};

}  // namespace azu
