// Not built yet: a plain system button stands in for the skinned one.
#include "controls/command_win32.h"

namespace kovaren::win32 {

bool RegisterCommandClass(HINSTANCE) { return true; }

HWND CreateCommandButton(HWND parent, int id, const wchar_t* caption, int x, int y, int w, int h,
                         HINSTANCE instance) {
  return CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, x, y, w, h,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

void InitializeCommandButton(HWND) {}

}  // namespace kovaren::win32
