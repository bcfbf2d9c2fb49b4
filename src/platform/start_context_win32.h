// What start-up hands every mode's window. Each mode's entry point is declared beside its window
// (saver_win32.h, dialog_win32.h, preview_win32.h); start-up includes them, never the other way.
#pragma once
#include <windows.h>

namespace kovaren::win32 {

struct StartContext {
  HINSTANCE instance = nullptr;
  int savedCursorCount = 0;  // what ShowCursor returned when start-up hid the cursor, and at exit
};

}  // namespace kovaren::win32
