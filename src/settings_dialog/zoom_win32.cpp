#include "settings_dialog/zoom_win32.h"

namespace kovaren::win32 {
namespace {

RECT ToRect(const ScreenRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// The window's rectangle, all zero when the handle names no window (the platform then animates
// toward the screen's corner or declines).
RECT WindowRectangle(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

}  // namespace

void ZoomOpen(HWND window, ZoomPoint point) {
  const RECT from = ToRect(PointRect(point));
  const RECT to = WindowRectangle(window);
  DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);  // purely visual: the result does not matter
}

void ZoomClose(HWND window, ZoomPoint point) {
  const RECT from = WindowRectangle(window);
  const RECT to = ToRect(PointRect(point));
  DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
}

}  // namespace kovaren::win32
