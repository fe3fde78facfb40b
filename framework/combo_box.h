#pragma once
// A drop-down list control addressed by index, as the program's pages use it: no selection until
// one is set, sorted insertion for sorted lists, program writes never raise a selection change.

#include <string>

class QComboBox;

namespace azu {

inline constexpr int CB_ERR = -1;

class ComboBox {
 public:
  explicit ComboBox(QComboBox* control) : control_(control) {}

  // Appends (or, for a sorted list, inserts in case-insensitive order); returns the index.
  int AddString(const char* text);
  // Inserts at `index` (-1: at the end), never sorting; returns the index.
  int InsertString(int index, const char* text);
  // Selects `index` (-1 clears); returns the index, or CB_ERR when out of range.
  int SetCurSel(int index);
  [[nodiscard]] int GetCurSel() const;
  // Item text (Windows-1252); empty when the index is out of range.
  [[nodiscard]] std::string GetLBText(int index) const;
  // The text of the selected item, empty without a selection.
  [[nodiscard]] std::string GetWindowText() const;
  void ResetContent();
  [[nodiscard]] bool IsValid() const { return control_ != nullptr; }

 private:
  int Insert(int index, const char* text);
  QComboBox* control_;
};

}  // namespace azu
