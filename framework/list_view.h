#pragma once
// A report-view list control addressed by index, with one or more text columns.

#include <string>

#include "framework/window_handle.h"

namespace azu {

class ListView {
 public:
  explicit ListView(WindowHandle control) : control_(control) {}

  // Adds a column with `heading` (Windows-1252); returns its index.
  int InsertColumn(int column, const char* heading);
  // Adds an item (the list sorts it when it keeps its items sorted); returns its index.
  int InsertItem(int index, const char* text);
  void SetColumnWidth(int column, int pixels);
  [[nodiscard]] int GetColumnWidth(int column) const;
  // Width in pixels of `text` in the list's font.
  [[nodiscard]] int GetStringWidth(const char* text) const;
  [[nodiscard]] int GetItemCount() const;
  [[nodiscard]] std::string GetItemText(int index) const;
  // Index of the selected item, -1 when none.
  [[nodiscard]] int GetSelectedIndex() const;
  // Selects `index` alone (-1: none), notified as the user's choice.
  void SelectItem(int index);
  [[nodiscard]] bool IsValid() const { return control_ != nullptr; }

 private:
  WindowHandle control_;
};

}  // namespace azu
