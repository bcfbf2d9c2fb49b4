// Pictures made by running the real leaf core: a synthetic desktop to fall over, and the still
// miniature of the saver at work that the preview mode shows.
#pragma once
#include "gfx/pixel_buffer.h"

namespace kovaren::art {

// A plausible desktop of any size: gradient wallpaper, a few application windows, icons, a taskbar.
PixelBuffer DrawSyntheticDesktop(int width, int height);

// Box-filter reduction by a whole factor (each output pixel the mean of factor x factor pixels).
PixelBuffer ShrinkBy(const PixelBuffer& picture, int factor);

constexpr int kPreviewWidth = 152;
constexpr int kPreviewHeight = 112;
// The preview picture: leaves falling over a synthetic desktop, 152 x 112.
PixelBuffer DrawPreviewPicture();

}  // namespace kovaren::art
