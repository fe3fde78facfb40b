// The Win32 back end of Dialog: a real dialog of the dialog manager, made from the template in
// memory, with comctl32's controls; commands and notifications come back as WM_COMMAND and
// WM_NOTIFY.

#include "framework/dialog.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "framework/message_box.h"
#include "framework/win32/dialog_resource.h"
#include "framework/win32/win32_dialog.h"

namespace azu {

struct Dialog::Native {
  HWND hwnd = nullptr;
  bool ended = false;
  int result = IDCANCEL;
};

namespace {

// The system menu's commands of the program, 0x0010 and on, as the About entry's is.
constexpr UINT kFirstMenuCommand = 0x0010;
constexpr UINT kMenuCommandStep = 0x0010;

void InitCommonControlsOnce() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX controls{
        sizeof(INITCOMMONCONTROLSEX),
        ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)done;
}

Dialog* DialogOf(HWND hwnd);

bool IsUsable(HWND hwnd) {
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  return (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0;
}

// The stops Tab walks, in template order, with the stops of a page right after the control
// hosting it: the dialog manager alone would not enter a page that the tab strip hosts.
void CollectTabStops(const Dialog& dialog, std::vector<HWND>& stops) {
  const HWND window = HwndOf(dialog.Window());
  for (const ControlTemplate& control : dialog.Template().controls) {
    if (control.id < 0) continue;
    const HWND item = GetDlgItem(window, control.id);
    if (item == nullptr) continue;
    const LONG_PTR style = GetWindowLongPtrW(item, GWL_STYLE);
    bool stop = IsUsable(item) && (style & WS_TABSTOP) != 0;
    if (control.kind == ControlKind::RadioButton && IsUsable(item)) {
      // The checked button stands for its group; with none checked, the group's first.
      const std::vector<int> group = dialog.RadioGroup(control.id);
      const bool anyChecked =
          std::ranges::any_of(group, [&dialog](int id) { return dialog.IsChecked(id); });
      stop = dialog.IsChecked(control.id) || (stop && !anyChecked);
    }
    if (stop) stops.push_back(item);
    for (HWND child = GetWindow(item, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      const Dialog* hosted = DialogOf(child);
      if (hosted != nullptr && (GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0) {
        CollectTabStops(*hosted, stops);
      }
    }
  }
}

void MoveFocus(HWND top, const Dialog& dialog, bool forward) {
  std::vector<HWND> stops;
  CollectTabStops(dialog, stops);
  if (stops.empty()) return;
  const HWND focus = GetFocus();
  std::ptrdiff_t at = -1;
  for (std::size_t i = 0; i < stops.size(); ++i) {
    if (focus != nullptr && (stops[i] == focus || IsChild(stops[i], focus) != FALSE)) {
      at = static_cast<std::ptrdiff_t>(i);
    }
  }
  const auto count = static_cast<std::ptrdiff_t>(stops.size());
  const std::ptrdiff_t to =
      at < 0 ? (forward ? 0 : count - 1) : (at + (forward ? 1 : count - 1)) % count;
  // Through the dialog manager: it selects an edit's text and moves the default button.
  SendMessageW(top, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(stops[static_cast<std::size_t>(to)]),
               TRUE);
}

}  // namespace

// What the back end does to a dialog that its public operations do not say.
struct DialogBackend {
  static Dialog::Native& NativeOf(Dialog& dialog) { return *dialog.native_; }
  static HWND Build(Dialog& dialog, HWND parent, bool child);
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static bool OnCommand(Dialog& dialog, int id, int code);
  static bool OnNotify(Dialog& dialog, const NMHDR& header, LPARAM lParam);
  static bool OnSysCommand(Dialog& dialog, WPARAM command);
};

namespace {

Dialog* DialogOf(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  const auto procedure = GetWindowLongPtrW(hwnd, DWLP_DLGPROC);
  if (procedure != reinterpret_cast<LONG_PTR>(&DialogBackend::Procedure)) return nullptr;
  return reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
}

}  // namespace

HWND DialogBackend::Build(Dialog& dialog, HWND parent, bool child) {
  InitCommonControlsOnce();
  dialog.DestroyWindow();
  std::vector<std::uint32_t> resource = BuildDialogResource(dialog.Template(), child);
  if (child && parent == nullptr) {
    // A page made on its own (as tests make one): a hidden popup instead of an orphan child.
    resource[3] = (resource[3] & ~static_cast<std::uint32_t>(WS_CHILD)) | WS_POPUP;
  }
  const HWND hwnd = CreateDialogIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(resource.data()), parent,
      &DialogBackend::Procedure, reinterpret_cast<LPARAM>(&dialog));
  if (hwnd != nullptr && !child) {
    // The button drawn as default is the one Enter presses: the template's, else IDOK.
    SendMessageW(hwnd, DM_SETDEFID, static_cast<WPARAM>(dialog.DefaultCommand()), 0);
  }
  if (hwnd != nullptr && !child && dialog.Template().frame == DialogFrame::Application) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const auto& [size, metric] : {std::pair{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}}) {
      const int pixels = GetSystemMetrics(metric);
      auto* icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kApplicationIconId),
                                                 IMAGE_ICON, pixels, pixels, LR_SHARED));
      if (icon != nullptr) SendMessageW(hwnd, WM_SETICON, size, reinterpret_cast<LPARAM>(icon));
    }
  }
  return hwnd;
}

INT_PTR CALLBACK DialogBackend::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<Dialog*>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    dialog->native_->hwnd = hwnd;
    return dialog->OnInitDialog() ? TRUE : FALSE;
  }
  Dialog* dialog = DialogOf(hwnd);
  if (dialog == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      return OnCommand(*dialog, LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_NOTIFY:
      return OnNotify(*dialog, *reinterpret_cast<const NMHDR*>(lParam), lParam) ? TRUE : FALSE;
    case WM_SYSCOMMAND:
      return OnSysCommand(*dialog, wParam) ? TRUE : FALSE;
    case WM_CLOSE:
      dialog->Command(IDCANCEL);
      return TRUE;
    case WM_NCDESTROY:
      // The window may go with its parent: the object must not point at it afterwards.
      dialog->native_->hwnd = nullptr;
      SetWindowLongPtrW(hwnd, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

bool DialogBackend::OnCommand(Dialog& dialog, int id, int code) {
  const ControlTemplate* control = dialog.ControlOf(id);
  if (control != nullptr && control->kind == ControlKind::ComboBox) {
    if (code == CBN_SELCHANGE) dialog.Notify(id, Dialog::Event::SelChange);
    return code == CBN_SELCHANGE;
  }
  if (code != BN_CLICKED) return false;  // an edit's changes and the like
  if (control != nullptr && control->kind == ControlKind::RadioButton) {
    dialog.Notify(id, Dialog::Event::Clicked);
  } else if (control == nullptr || control->kind == ControlKind::PushButton ||
             control->kind == ControlKind::DefPushButton) {
    dialog.Command(id);  // also IDOK and IDCANCEL from Enter and Escape
  }
  return true;
}

bool DialogBackend::OnNotify(Dialog& dialog, const NMHDR& header, LPARAM lParam) {
  const int id = static_cast<int>(header.idFrom);
  if (header.code == TCN_SELCHANGE) {
    dialog.Notify(id, Dialog::Event::SelChange);
    return true;
  }
  if (header.code == LVN_ITEMCHANGED) {
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
    if ((change->uChanged & LVIF_STATE) != 0 &&
        ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) != 0) {
      dialog.Notify(id, Dialog::Event::ItemChanged);
    }
    return true;
  }
  return false;
}

bool DialogBackend::OnSysCommand(Dialog& dialog, WPARAM command) {
  const UINT id = static_cast<UINT>(command) & 0xFFF0U;
  if (id < kFirstMenuCommand || id >= SC_SIZE) return false;
  dialog.WindowMenuChosen((id - kFirstMenuCommand) / kMenuCommandStep);
  return true;
}

bool RouteDialogMessage(HWND dialog, MSG& message) {
  const bool ours = message.hwnd == dialog || IsChild(dialog, message.hwnd) != FALSE;
  if (ours && message.message == WM_KEYDOWN && message.wParam == VK_TAB) {
    Dialog* owner = DialogOf(dialog);
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (owner != nullptr && GetKeyState(VK_CONTROL) < 0) {
      // Ctrl+Tab changes the tab from anywhere in the window.
      if (owner->SelectNextTab(!shift)) return true;
    } else if (owner != nullptr && GetKeyState(VK_MENU) >= 0) {
      MoveFocus(dialog, *owner, !shift);
      return true;
    }
  }
  return IsDialogMessageW(dialog, &message) != FALSE;
}

Dialog::Dialog(const DialogTemplate& dialogTemplate)
    : template_(dialogTemplate), native_(std::make_unique<Native>()) {}

Dialog::~Dialog() {
  DestroyWindow();
}

WindowHandle Dialog::Window() const {
  return HandleOf(native_->hwnd);
}

int Dialog::DoModal() {
  HWND owner = GetActiveWindow();
  const HWND hwnd = DialogBackend::Build(*this, owner, false);
  if (hwnd == nullptr) return IDCANCEL;
  native_->ended = false;
  native_->result = IDCANCEL;
  if (owner != nullptr) EnableWindow(owner, FALSE);
  ShowWindow(hwnd, SW_SHOW);
  MSG message;
  while (!native_->ended && native_->hwnd != nullptr) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the loop outside
      break;
    }
    if (got < 0) break;
    if (!RouteDialogMessage(hwnd, message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  if (owner != nullptr) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  const int result = native_->result;
  DestroyWindow();
  return result;
}

bool Dialog::Create(WindowHandle parent) {
  // WM_INITDIALOG runs OnInitDialog while the window is made; its answer is not kept.
  return DialogBackend::Build(*this, HwndOf(parent), true) != nullptr;
}

void Dialog::DestroyWindow() {
  if (native_->hwnd != nullptr) ::DestroyWindow(native_->hwnd);
  native_->hwnd = nullptr;
}

void Dialog::EndDialog(int result) {
  native_->result = result;
  native_->ended = true;
  if (native_->hwnd != nullptr) PostMessageW(native_->hwnd, WM_NULL, 0, 0);  // wakes the loop
}

WindowHandle Dialog::Item(int id) const {
  if (native_->hwnd == nullptr || ControlOf(id) == nullptr) return nullptr;
  return HandleOf(GetDlgItem(native_->hwnd, id));
}

void Dialog::SetItemText(int id, const char* text) {
  const ControlTemplate* control = ControlOf(id);
  if (control != nullptr && control->kind == ControlKind::IPAddress) {
    IpAddress(id).SetText(text != nullptr ? text : "");
    return;
  }
  SetWindowTextOf(HwndOf(Item(id)), text);
}

std::string Dialog::ItemText(int id) const {
  const ControlTemplate* control = ControlOf(id);
  if (control != nullptr && control->kind == ControlKind::IPAddress) return IpAddress(id).Text();
  return WindowTextOf(HwndOf(Item(id)));
}

void Dialog::EnableItem(int id, bool enable) {
  if (const HWND item = HwndOf(Item(id))) EnableWindow(item, enable ? TRUE : FALSE);
}

bool Dialog::IsItemEnabled(int id) const {
  const HWND item = HwndOf(Item(id));
  return item != nullptr && IsWindowEnabled(item) != FALSE;
}

void Dialog::ShowItem(int id, bool show) {
  if (const HWND item = HwndOf(Item(id))) ShowWindow(item, show ? SW_SHOW : SW_HIDE);
}

bool Dialog::IsChecked(int id) const {
  const HWND item = HwndOf(Item(id));
  return item != nullptr && SendMessageW(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Dialog::SetCheck(int id, bool checked) {
  if (const HWND item = HwndOf(Item(id))) {
    SendMessageW(item, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void Dialog::LimitText(int id, int maxChars) {
  if (const HWND item = HwndOf(Item(id))) {
    SendMessageW(item, EM_LIMITTEXT, static_cast<WPARAM>(std::max(maxChars, 0)), 0);
  }
}

void Dialog::FocusItem(int id) {
  const HWND item = HwndOf(Item(id));
  if (item == nullptr) return;
  HWND top = GetAncestor(item, GA_ROOT);
  SendMessageW(top != nullptr ? top : native_->hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item),
               TRUE);
}

void Dialog::SetCaption(const char* text) {
  SetWindowTextOf(native_->hwnd, text);
}

void Dialog::Show(bool show) {
  if (native_->hwnd != nullptr) ShowWindow(native_->hwnd, show ? SW_SHOW : SW_HIDE);
}

void Dialog::Move(const Rect& rect) {
  if (native_->hwnd != nullptr) {
    MoveWindow(native_->hwnd, rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
  }
}

// The window's system menu, below a separator, as the About entry has always been.
void Dialog::AddWindowMenuEntry(const char* text, std::function<void()> chosen) {
  HMENU menu = native_->hwnd != nullptr ? GetSystemMenu(native_->hwnd, FALSE) : nullptr;
  if (menu == nullptr || text == nullptr || *text == '\0') return;
  const UINT command =
      kFirstMenuCommand + static_cast<UINT>(menuEntries_.size()) * kMenuCommandStep;
  menuEntries_.push_back(std::move(chosen));
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, command, WideFromCp1252(text).c_str());
}

}  // namespace azu
