#include "framework/tab_control.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "framework/win32/win32_dialog.h"

namespace azu {

int TabControl::InsertItem(int index, const char* text, void* param) {
  if (control_ == nullptr) return -1;
  std::wstring label = WideFromCp1252(text != nullptr ? text : "");
  TCITEMW item{};
  item.mask = TCIF_TEXT | TCIF_PARAM;
  item.pszText = label.data();
  item.lParam = reinterpret_cast<LPARAM>(param);
  return static_cast<int>(SendMessageW(HwndOf(control_), TCM_INSERTITEMW,
                                       static_cast<WPARAM>(std::max(index, 0)),
                                       reinterpret_cast<LPARAM>(&item)));
}

int TabControl::GetItemCount() const {
  if (control_ == nullptr) return 0;
  return static_cast<int>(SendMessageW(HwndOf(control_), TCM_GETITEMCOUNT, 0, 0));
}

void* TabControl::GetItemParam(int index) const {
  if (control_ == nullptr || index < 0 || index >= GetItemCount()) return nullptr;
  TCITEMW item{};
  item.mask = TCIF_PARAM;
  if (SendMessageW(HwndOf(control_), TCM_GETITEMW, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&item)) == FALSE) {
    return nullptr;
  }
  return reinterpret_cast<void*>(item.lParam);
}

int TabControl::GetCurSel() const {
  if (control_ == nullptr) return -1;
  return static_cast<int>(SendMessageW(HwndOf(control_), TCM_GETCURSEL, 0, 0));
}

void TabControl::DeleteAllItems() {
  if (control_ != nullptr) SendMessageW(HwndOf(control_), TCM_DELETEALLITEMS, 0, 0);
}

Rect TabControl::GetClientRect() const {
  RECT client{};
  if (control_ == nullptr || ::GetClientRect(HwndOf(control_), &client) == FALSE) return {};
  return {client.left, client.top, client.right, client.bottom};
}

int TabControl::RowCount() const {
  if (control_ == nullptr) return 0;
  return static_cast<int>(SendMessageW(HwndOf(control_), TCM_GETROWCOUNT, 0, 0));
}

int TabControl::ExtraRowsHeight() const {
  if (control_ == nullptr || GetItemCount() == 0) return 0;
  RECT tab{};
  SendMessageW(HwndOf(control_), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
  return std::max(RowCount() - 1, 0) * (tab.bottom - tab.top);
}

void TabControl::SelectNext(bool forward) {
  const int count = GetItemCount();
  if (count == 0) return;
  const int current = GetCurSel();
  const int next = current < 0 ? 0 : (current + (forward ? 1 : count - 1)) % count;
  const HWND tabs = HwndOf(control_);
  SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(next), 0);
  // The control notifies only a click; a key of the window's is told the same way.
  NMHDR header{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), TCN_SELCHANGE};
  SendMessageW(GetParent(tabs), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

}  // namespace azu
