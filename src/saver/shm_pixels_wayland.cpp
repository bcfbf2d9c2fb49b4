#include "saver/shm_pixels_wayland.h"

#include <algorithm>
#include <cstring>

namespace kovaren::wayland {
namespace {
constexpr uint32_t kRgbBits = 0x00FFFFFF;

Pixel SwapRedBlue(uint32_t v) { return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF); }
}  // namespace

bool IsReadableFormat(uint32_t format) {
  return format == kShmArgb8888 || format == kShmXrgb8888 || format == kShmAbgr8888 || format == kShmXbgr8888;
}

std::optional<PixelBuffer> ReadShmPicture(std::span<const uint32_t> pixels, int width, int height, int stride,
                                          uint32_t format, bool yInvert) {
  if (!IsReadableFormat(format) || width <= 0 || height <= 0 || stride < width) return std::nullopt;
  if (static_cast<size_t>(stride) * static_cast<size_t>(height) > pixels.size()) return std::nullopt;
  const bool bgr = format == kShmAbgr8888 || format == kShmXbgr8888;
  PixelBuffer picture(width, height);
  for (int y = 0; y < height; ++y) {
    const uint32_t* from = pixels.data() + static_cast<size_t>(yInvert ? height - 1 - y : y) * stride;
    Pixel* to = picture.row(y);
    if (bgr) {
      std::transform(from, from + width, to, SwapRedBlue);
    } else {
      std::transform(from, from + width, to, [](uint32_t v) { return v & kRgbBits; });
    }
  }
  return picture;
}

void WriteShmRects(ConstPixelView frame, std::span<const Rect> rects, uint32_t* pixels, int stride) {
  for (const Rect& given : rects) {
    const Rect r = Intersect(given, frame.bounds());
    for (int y = r.y; y < r.bottom(); ++y)
      std::memcpy(pixels + static_cast<size_t>(y) * stride + r.x, frame.row(y) + r.x, static_cast<size_t>(r.w) * sizeof(Pixel));
  }
}

}  // namespace kovaren::wayland
