// The pictures the leaves can fall over, read from the X server: the screenshot a daemon stores with
// the window it hands over (the _SCREENSAVER_SCREENSHOT pixmap), or the screen itself under a window
// of our own before it maps.
#pragma once
#include <X11/Xlib.h>

#include <optional>

#include "gfx/pixel_buffer.h"

namespace kovaren::x11 {

// The daemon's screenshot for `window` (whose visual is `visual`), `size` pixels (the part the pixmap
// lacks is dark). Nothing when the window has no such property or the pixmap cannot be read.
std::optional<PixelBuffer> ReadDaemonScreenshot(Display* display, Window window, const Visual* visual, int width,
                                                int height);

// `area` of the screen (root coordinates); what lies off the screen is dark.
PixelBuffer ReadScreen(Display* display, int screen, const Rect& area);

}  // namespace kovaren::x11
