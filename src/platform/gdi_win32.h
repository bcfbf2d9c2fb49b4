// Presenting core pixel buffers through GDI: one SetDIBitsToDevice per call, so a frame appears whole.
#pragma once
#include <windows.h>

#include "gfx/pixel_buffer.h"

namespace kovaren::win32 {

// Copies the part `area` of `picture` to the same place of `dc` (device coordinates = buffer
// coordinates shifted by `origin`). Does nothing for an empty area.
void PresentPixels(HDC dc, ConstPixelView picture, const Rect& area, POINT origin = {0, 0});

// Reads `area` of `dc` into a new buffer (for the desktop snapshot). Empty buffer on failure.
PixelBuffer CapturePixels(HDC dc, const Rect& area);

// The header of a top-down 32-bit DIB of width x height, whose pixels in memory are PixelBuffer's
// (BGRX little-endian == 0x00RRGGBB).
BITMAPINFO TopDownDib32(int width, int height);

}  // namespace kovaren::win32
