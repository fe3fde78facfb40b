#pragma once
// The Win32 back end's side of the framework's handles: a handle is the control's HWND. Texts
// cross into the window system as UTF-16, from and to the program's Windows-1252.

#include <windows.h>

#include <string>
#include <string_view>

#include "framework/window_handle.h"

namespace azu {

inline HWND HwndOf(WindowHandle handle) {
  return reinterpret_cast<HWND>(handle);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
}
inline WindowHandle HandleOf(HWND hwnd) {
  return reinterpret_cast<WindowHandle>(
      hwnd);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
}

std::wstring WideFromCp1252(std::string_view text);
// Characters without a Windows-1252 byte become '?', as an ANSI window would give them.
std::string Cp1252FromWide(std::wstring_view text);

// The text of a window, as Windows-1252.
std::string WindowTextOf(HWND hwnd);
void SetWindowTextOf(HWND hwnd, const char* text);  // null gives empty

// The keyboard of a dialog's modal loop: Tab and Shift+Tab walk the tab stops into the pages a
// control hosts, Ctrl+Tab and Ctrl+Shift+Tab change the tab strip's tab, and the dialog manager
// does the rest (Enter, Escape, mnemonics, arrows). True when `message` was handled.
bool RouteDialogMessage(HWND dialog, MSG& message);

}  // namespace azu
