// The skinned push button "Tesmar.Command" as a Win32 child window. Its Click reaches the parent as
// WM_COMMAND with MAKEWPARAM(id, BN_CLICKED) and the button's window as lParam.
// Besides the functions below it answers the ordinary window calls: EnableWindow (the Enabled
// property: Disable look, greyed caption), SetWindowTextW (Caption), WM_SETFONT / WM_GETFONT.
#pragma once
#include <windows.h>

namespace kovaren::win32 {

inline constexpr wchar_t kSkinButtonClassName[] = L"Tesmar.Command";

// Registers the window class (once per process). False when registration failed.
bool RegisterSkinButtonClass(HINSTANCE instance);
// Creates a skinned button child of `parent` at (x, y), w x h pixels, with `caption`. Its skin
// pictures are read from `skinResources` (the program's own module, or Kovaren.scr loaded as a data
// file by a test host).
HWND CreateSkinButton(HWND parent, int id, const wchar_t* caption, int x, int y, int w, int h, HINSTANCE instance,
                      HMODULE skinResources);
// Starts the control: hover-ready state and the 100 ms hover poll on.
void InitializeSkinButton(HWND button);

}  // namespace kovaren::win32
