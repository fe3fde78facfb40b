#include "tests/support/page_steps.h"

#include <windows.h>

#include "framework/win32/win32_dialog.h"

namespace azu::test {

bool Drive(Dialog& page, const PageStep& step) {
  const HWND control = HwndOf(page.Item(step.id));
  if (control == nullptr) return false;
  switch (step.kind) {
    case PageStep::Kind::Type: {
      const std::wstring text = WideFromCp1252(step.text);
      return SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != FALSE;
    }
    case PageStep::Kind::Choose:
      // What the list does when the user picks an entry: select it, then tell the dialog.
      SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(step.index), 0);
      SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(step.id, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(control));
      return true;
    case PageStep::Kind::Click:
      SendMessageW(control, BM_CLICK, 0, 0);
      return true;
    case PageStep::Kind::Address:
      return page.IpAddress(step.id).SetText(step.text);
  }
  return false;
}

}  // namespace azu::test
