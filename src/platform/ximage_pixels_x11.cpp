#include "platform/ximage_pixels_x11.h"

#include <bit>
#include <cstring>

namespace kovaren::x11 {
namespace {

constexpr unsigned long kRedMask = 0xFF0000;
constexpr unsigned long kGreenMask = 0x00FF00;
constexpr unsigned long kBlueMask = 0x0000FF;

// One channel of an X pixel, to 0..255, and back.
uint8_t Channel(unsigned long value, unsigned long mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const unsigned long top = mask >> shift;
  return static_cast<uint8_t>(((value & mask) >> shift) * 255 / top);
}

unsigned long FromChannel(uint8_t level, unsigned long mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const unsigned long top = mask >> shift;
  return ((level * top + 127) / 255) << shift;
}

}  // namespace

bool HoldsOurWords(const XImage* image) {
  const int hostOrder = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
  return image->bits_per_pixel == 32 && image->byte_order == hostOrder && image->red_mask == kRedMask &&
         image->green_mask == kGreenMask && image->blue_mask == kBlueMask;
}

PixelView ViewOf(XImage* image) {
  if (!image || !image->data || !HoldsOurWords(image) || image->bytes_per_line % sizeof(Pixel) != 0) return {};
  return {reinterpret_cast<Pixel*>(image->data), image->width, image->height,
          static_cast<int>(image->bytes_per_line / sizeof(Pixel))};
}

PixelBuffer PixelsOf(XImage* image) {
  PixelBuffer pixels(image->width, image->height);
  for (int y = 0; y < image->height; ++y) {
    Pixel* out = pixels.row(y);
    if (HoldsOurWords(image)) {
      const auto* in = reinterpret_cast<const uint32_t*>(image->data + static_cast<size_t>(y) * image->bytes_per_line);
      for (int x = 0; x < image->width; ++x) out[x] = in[x] & 0xFFFFFF;
      continue;
    }
    for (int x = 0; x < image->width; ++x) {
      const unsigned long v = XGetPixel(image, x, y);
      out[x] = Rgb(Channel(v, image->red_mask), Channel(v, image->green_mask), Channel(v, image->blue_mask));
    }
  }
  return pixels;
}

void CopyInto(XImage* image, ConstPixelView frame, const Rect& area) {
  if (frame.row(0) == reinterpret_cast<const Pixel*>(image->data)) return;  // drawn in place
  const Rect r = Intersect(Intersect(area, frame.bounds()), {0, 0, image->width, image->height});
  if (r.empty()) return;
  if (HoldsOurWords(image)) {
    for (int y = r.y; y < r.bottom(); ++y) {
      char* out = image->data + static_cast<size_t>(y) * image->bytes_per_line + static_cast<size_t>(r.x) * 4;
      std::memcpy(out, frame.row(y) + r.x, static_cast<size_t>(r.w) * sizeof(Pixel));
    }
    return;
  }
  for (int y = r.y; y < r.bottom(); ++y) {
    for (int x = r.x; x < r.right(); ++x) {
      const Pixel p = frame.at(x, y);
      XPutPixel(image, x, y,
                FromChannel(RedOf(p), image->red_mask) | FromChannel(GreenOf(p), image->green_mask) |
                    FromChannel(BlueOf(p), image->blue_mask));
    }
  }
}

}  // namespace kovaren::x11
