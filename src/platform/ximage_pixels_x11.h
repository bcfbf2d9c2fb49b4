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

// Whether the image's pixels are 32-bit 0x00RRGGBB words in this machine's byte order.
bool HoldsOurWords(const XImage* image);

// The image's pixels as a view, for drawing into them directly; empty unless it holds our words.
PixelView ViewOf(XImage* image);

// `area` of `frame` into the same place in `image` (both the same size; the area inside both).
// Nothing to do when `frame` is the image's own pixels (ViewOf).
void CopyInto(XImage* image, ConstPixelView frame, const Rect& area);

}  // namespace kovaren::x11
