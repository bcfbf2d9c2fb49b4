// The skinned push button "Tesmar.Command" as a Win32 child window. Its Click reaches the parent as
// WM_COMMAND with MAKEWPARAM(id, BN_CLICKED) and the button's window as lParam.
// Besides the functions below it answers the ordinary window calls: EnableWindow (the Enabled
// property: Disable look, greyed caption), SetWindowTextW (Caption), WM_SETFONT / WM_GETFONT.
#pragma once
#include <windows.h>

namespace kovaren::win32 {

inline constexpr wchar_t kCommandClassName[] = L"Tesmar.Command";

// Registers the window class (once per process). False when registration failed. The skin pictures
// are read from `instance`'s resources.
bool RegisterCommandClass(HINSTANCE instance);
// The same, reading the skin pictures from another module's resources (e.g. Kovaren.scr loaded as
// a data file by a test host).
bool RegisterCommandClass(HINSTANCE instance, HMODULE skinResources);
// Creates a skinned button child of `parent` at (x, y), w x h pixels, with `caption`.
HWND CreateCommandButton(HWND parent, int id, const wchar_t* caption, int x, int y, int w, int h,
                         HINSTANCE instance);
// The control's Initialize: interaction state 1 and the 100 ms hover poll on.
void InitializeCommandButton(HWND button);

}  // namespace kovaren::win32
