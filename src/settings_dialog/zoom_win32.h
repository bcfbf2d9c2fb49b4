// The settings dialog's caption zoom: out of the zoom point when it opens, back into the same point
// when it closes. The dialog keeps the point between the two.
#pragma once
#include <windows.h>

#include "settings_dialog/zoom.h"

namespace kovaren::win32 {

// Animates the caption from `point` to the window's rectangle.
void ZoomOpen(HWND window, ZoomPoint point);
// Animates the caption from the window's rectangle back into `point`.
void ZoomClose(HWND window, ZoomPoint point);

}  // namespace kovaren::win32
