// The settings dialog's caption zoom: out of the zoom point when it opens, back into it when it
// closes. The point is kept for the
// closing zoom, set once by the dialog when it opens.
#pragma once
#include <windows.h>

#include "settings_dialog/zoom.h"

namespace kovaren::win32 {

void SetZoomPoint(ZoomPoint point);
// Animates the caption from the zoom point to the window's rectangle.
void ZoomOpen(HWND window);
// Animates the caption from the window's rectangle back into the zoom point.
void ZoomClose(HWND window);

}  // namespace kovaren::win32
