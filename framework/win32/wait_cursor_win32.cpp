#include "framework/wait_cursor.h"

#include <windows.h>

namespace azu {

WaitCursor::WaitCursor() {
  // The hourglass until the scope ends; the window's own cursor comes back with the next move.
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
  shown_ = true;
}

WaitCursor::~WaitCursor() {
  if (shown_) SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));  // IDC_ARROW
}

}  // namespace azu
