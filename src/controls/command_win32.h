// The skinned push button "Tesmar.Command" as a Win32 child window. Its Click reaches the parent as
// WM_COMMAND with MAKEWPARAM(id, BN_CLICKED) and the button's window as lParam.
#pragma once
#include <windows.h>

namespace kovaren::win32 {

inline constexpr wchar_t kCommandClassName[] = L"Tesmar.Command";

// Registers the window class (once per process). False when registration failed.
bool RegisterCommandClass(HINSTANCE instance);
// Creates a skinned button child of `parent` at (x, y), w x h pixels, with `caption`.
HWND CreateCommandButton(HWND parent, int id, const wchar_t* caption, int x, int y, int w, int h,
                         HINSTANCE instance);
// The control's Initialize: interaction state 1 and the 100 ms hover poll on.
void InitializeCommandButton(HWND button);

}  // namespace kovaren::win32
