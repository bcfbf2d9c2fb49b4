// Pixels between wl_shm buffers and the saver's pictures (0x00RRGGBB). The shell draws in XRGB8888,
// whose 32-bit value is the same as a Pixel; a screen copy may come in any of the four 32-bit RGB
// orders of its output, and upside down.
#pragma once
#include <cstdint>
#include <optional>
#include <span>

#include "gfx/pixel_buffer.h"

namespace kovaren::wayland {

// wl_shm's codes: the first two are its own, the others DRM fourcc codes.
constexpr uint32_t kShmArgb8888 = 0;
constexpr uint32_t kShmXrgb8888 = 1;
constexpr uint32_t kShmAbgr8888 = 0x34324241;  // "AB24"
constexpr uint32_t kShmXbgr8888 = 0x34324258;  // "XB24"

bool IsReadableFormat(uint32_t format);

// The picture in `pixels` (`stride` 32-bit values per row, `height` rows), alpha dropped; flipped
// when `yInvert`. Nothing for an unreadable format or sizes the span does not hold.
std::optional<PixelBuffer> ReadShmPicture(std::span<const uint32_t> pixels, int width, int height, int stride,
                                          uint32_t format, bool yInvert);

// Copies `rects` of `frame` into a buffer of the frame's size (`stride` values per row) as XRGB8888.
void WriteShmRects(ConstPixelView frame, std::span<const Rect> rects, uint32_t* pixels, int stride);

}  // namespace kovaren::wayland
