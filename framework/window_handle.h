#pragma once
// What the portable side knows of a window: an opaque handle (a widget on Qt, an HWND on Windows)
// and a rectangle in pixels. Only the back ends look behind the handle.

namespace azu {

struct NativeWindow;
using WindowHandle = NativeWindow*;

// A rectangle in pixels, right and bottom exclusive, as a Windows RECT.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  [[nodiscard]] int Width() const { return right - left; }
  [[nodiscard]] int Height() const { return bottom - top; }
  // Moves the edges inwards (negative values outwards), as the Windows DeflateRect.
  void Deflate(int x, int y) {
    left += x;
    right -= x;
    top += y;
    bottom -= y;
  }
  void Offset(int x, int y) {
    left += x;
    right += x;
    top += y;
    bottom += y;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace azu
