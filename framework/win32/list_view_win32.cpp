#include "framework/list_view.h"

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "framework/win32/win32_dialog.h"

namespace azu {

int ListView::InsertColumn(int column, const char* heading) {
  if (control_ == nullptr) return -1;
  std::wstring text = WideFromCp1252(heading != nullptr ? heading : "");
  LVCOLUMNW entry{};
  entry.mask = LVCF_FMT | LVCF_TEXT;
  entry.fmt = LVCFMT_LEFT;
  entry.pszText = text.data();
  return static_cast<int>(SendMessageW(HwndOf(control_), LVM_INSERTCOLUMNW,
                                       static_cast<WPARAM>(column),
                                       reinterpret_cast<LPARAM>(&entry)));
}

int ListView::InsertItem(int index, const char* text) {
  if (control_ == nullptr) return -1;
  std::wstring item = WideFromCp1252(text != nullptr ? text : "");
  LVITEMW entry{};
  entry.mask = LVIF_TEXT;
  entry.iItem = index;
  entry.pszText = item.data();
  // A sorted list (LVS_SORTASCENDING) answers the place it gave the item.
  return static_cast<int>(
      SendMessageW(HwndOf(control_), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&entry)));
}

void ListView::SetColumnWidth(int column, int pixels) {
  if (control_ != nullptr) {
    SendMessageW(HwndOf(control_), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                 MAKELPARAM(pixels, 0));
  }
}

int ListView::GetColumnWidth(int column) const {
  if (control_ == nullptr) return 0;
  return static_cast<int>(
      SendMessageW(HwndOf(control_), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

int ListView::GetStringWidth(const char* text) const {
  if (control_ == nullptr) return 0;
  const std::wstring item = WideFromCp1252(text != nullptr ? text : "");
  return static_cast<int>(SendMessageW(HwndOf(control_), LVM_GETSTRINGWIDTHW, 0,
                                       reinterpret_cast<LPARAM>(item.c_str())));
}

int ListView::GetItemCount() const {
  if (control_ == nullptr) return 0;
  return static_cast<int>(SendMessageW(HwndOf(control_), LVM_GETITEMCOUNT, 0, 0));
}

std::string ListView::GetItemText(int index) const {
  if (control_ == nullptr || index < 0 || index >= GetItemCount()) return {};
  // The control copies at most the room it is given: grow until the text fits.
  for (std::size_t room = 256;; room *= 2) {
    std::vector<wchar_t> buffer(room, L'\0');
    LVITEMW entry{};
    entry.iSubItem = 0;
    entry.pszText = buffer.data();
    entry.cchTextMax = static_cast<int>(room);
    const auto length = static_cast<std::size_t>(SendMessageW(HwndOf(control_), LVM_GETITEMTEXTW,
                                                              static_cast<WPARAM>(index),
                                                              reinterpret_cast<LPARAM>(&entry)));
    if (length + 1 < room) return Cp1252FromWide(std::wstring_view(buffer.data(), length));
  }
}

int ListView::GetSelectedIndex() const {
  if (control_ == nullptr) return -1;
  return static_cast<int>(SendMessageW(HwndOf(control_), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                       MAKELPARAM(LVNI_SELECTED, 0)));
}

void ListView::SelectItem(int index) {
  if (control_ == nullptr) return;
  constexpr UINT kState = LVIS_SELECTED | LVIS_FOCUSED;
  LVITEMW clear{};
  clear.stateMask = kState;
  SendMessageW(HwndOf(control_), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
               reinterpret_cast<LPARAM>(&clear));
  if (index < 0 || index >= GetItemCount()) return;
  LVITEMW select{};
  select.stateMask = kState;
  select.state = kState;
  // The control tells its parent (LVN_ITEMCHANGED), as for a click.
  SendMessageW(HwndOf(control_), LVM_SETITEMSTATE, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&select));
}

}  // namespace azu
