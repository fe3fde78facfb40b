#pragma once
// A drop-down list control addressed by index, as the program's pages use it: no selection until
// one is set, sorted insertion for sorted lists, program writes never raise a selection change.

#include <string>

#include "framework/window_handle.h"

namespace azu {

#ifndef CB_ERR  // <windows.h> has its own, of the same value
inline constexpr int CB_ERR = -1;
#endif

class ComboBox {
 public:
  explicit ComboBox(WindowHandle control) : control_(control) {}

  // Appends (or, for a sorted list, inserts in case-insensitive order); returns the index.
  int AddString(const char* text);
  // Inserts at `index` (-1: at the end), never sorting; returns the index.
  int InsertString(int index, const char* text);
  // Selects `index` (-1 clears); returns the index, or CB_ERR when out of range.
  int SetCurSel(int index);
  [[nodiscard]] int GetCurSel() const;
  [[nodiscard]] int GetCount() const;
  // Item text (Windows-1252); empty when the index is out of range.
  [[nodiscard]] std::string GetLBText(int index) const;
  // The text of the selected item, empty without a selection (the window text of a drop-down
  // list).
  [[nodiscard]] std::string GetSelectedText() const;
  void ResetContent();
  [[nodiscard]] bool IsValid() const { return control_ != nullptr; }

 private:
  WindowHandle control_;
};

}  // namespace azu
