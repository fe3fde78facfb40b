#include "framework/combo_box.h"

#include <windows.h>

#include <vector>

#include "framework/win32/win32_dialog.h"

namespace azu {

int ComboBox::AddString(const char* text) {
  if (control_ == nullptr) return CB_ERR;
  const std::wstring item = WideFromCp1252(text != nullptr ? text : "");
  // A sorted list (CBS_SORT) puts it in place itself.
  return static_cast<int>(
      SendMessageW(HwndOf(control_), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())));
}

int ComboBox::InsertString(int index, const char* text) {
  if (control_ == nullptr) return CB_ERR;
  const std::wstring item = WideFromCp1252(text != nullptr ? text : "");
  return static_cast<int>(SendMessageW(HwndOf(control_), CB_INSERTSTRING,
                                       static_cast<WPARAM>(index),
                                       reinterpret_cast<LPARAM>(item.c_str())));
}

int ComboBox::SetCurSel(int index) {
  if (control_ == nullptr) return CB_ERR;
  return static_cast<int>(
      SendMessageW(HwndOf(control_), CB_SETCURSEL, static_cast<WPARAM>(index), 0));
}

int ComboBox::GetCurSel() const {
  if (control_ == nullptr) return CB_ERR;
  return static_cast<int>(SendMessageW(HwndOf(control_), CB_GETCURSEL, 0, 0));
}

int ComboBox::GetCount() const {
  if (control_ == nullptr) return 0;
  return static_cast<int>(SendMessageW(HwndOf(control_), CB_GETCOUNT, 0, 0));
}

std::string ComboBox::GetLBText(int index) const {
  if (control_ == nullptr || index < 0 || index >= GetCount()) return {};
  const HWND combo = HwndOf(control_);
  const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(buffer.data()));
  return Cp1252FromWide(buffer.data());
}

std::string ComboBox::GetSelectedText() const {
  return GetLBText(GetCurSel());
}

void ComboBox::ResetContent() {
  if (control_ != nullptr) SendMessageW(HwndOf(control_), CB_RESETCONTENT, 0, 0);
}

}  // namespace azu
