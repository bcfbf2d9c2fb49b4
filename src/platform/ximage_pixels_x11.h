// Pixels between our 0x00RRGGBB buffers and X images of any TrueColor format: rows are copied as
// they are where the image already holds 32-bit 0x00RRGGBB words in this machine's byte order (the
// usual depth-24 visual), pixel by pixel through the image's masks otherwise.
#pragma once
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "gfx/pixel_buffer.h"

namespace kovaren::x11 {

// The image's pixels; the image's size.
PixelBuffer PixelsOf(XImage* image);

// `area` of `frame` into the same place in `image` (both the same size; the area inside both).
void CopyInto(XImage* image, const PixelBuffer& frame, const Rect& area);

}  // namespace kovaren::x11
