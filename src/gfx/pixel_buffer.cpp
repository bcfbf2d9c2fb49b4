#include "gfx/pixel_buffer.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace kovaren {

Rect Intersect(const Rect& a, const Rect& b) {
  const int x0 = std::max(a.x, b.x);
  const int y0 = std::max(a.y, b.y);
  const int x1 = std::min(a.right(), b.right());
  const int y1 = std::min(a.bottom(), b.bottom());
  if (x1 <= x0 || y1 <= y0) return {x0, y0, 0, 0};
  return {x0, y0, x1 - x0, y1 - y0};
}

Rect Union(const Rect& a, const Rect& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  const int x0 = std::min(a.x, b.x);
  const int y0 = std::min(a.y, b.y);
  return {x0, y0, std::max(a.right(), b.right()) - x0, std::max(a.bottom(), b.bottom()) - y0};
}

PixelBuffer::PixelBuffer(int width, int height, Pixel fill) {
  if (width < 0 || height < 0) throw std::length_error("PixelBuffer: negative size");
  const auto count = static_cast<unsigned long long>(width) * static_cast<unsigned long long>(height);
  if (count > std::numeric_limits<size_t>::max() / sizeof(Pixel) ||
      count > static_cast<unsigned long long>(std::numeric_limits<int>::max())) {
    throw std::length_error("PixelBuffer: too many pixels");
  }
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(count), fill);
}

PixelBuffer::PixelBuffer(ConstPixelView view) : PixelBuffer(view.width(), view.height()) {
  for (int y = 0; y < height_; ++y) std::copy_n(view.row(y), width_, row(y));
}

void PixelBuffer::fill(const Rect& r, Pixel p) {
  const Rect c = Intersect(r, bounds());
  if (c.empty()) return;
  for (int y = c.y; y < c.bottom(); ++y) std::fill_n(row(y) + c.x, c.w, p);
}

void Blit(PixelView dst, int dx, int dy, ConstPixelView src, const Rect& srcRect, RasterOp op) {
  // Clip the source rectangle to the source, then the destination to the target, keeping them aligned.
  const Rect s = Intersect(srcRect, src.bounds());
  if (s.empty()) return;
  const int ox = dx + (s.x - srcRect.x);
  const int oy = dy + (s.y - srcRect.y);
  const Rect d = Intersect({ox, oy, s.w, s.h}, dst.bounds());
  if (d.empty()) return;
  const int sx = s.x + (d.x - ox);
  const int sy = s.y + (d.y - oy);
  for (int y = 0; y < d.h; ++y) {
    Pixel* out = dst.row(d.y + y) + d.x;
    const Pixel* in = src.row(sy + y) + sx;
    switch (op) {
      case RasterOp::Copy: std::copy_n(in, d.w, out); break;
      case RasterOp::And: for (int x = 0; x < d.w; ++x) out[x] &= in[x]; break;
      case RasterOp::Xor: for (int x = 0; x < d.w; ++x) out[x] ^= in[x]; break;
    }
  }
}

void StretchBlit(PixelView dst, const Rect& dstRect, ConstPixelView src, const Rect& srcRect) {
  if (dstRect.empty() || srcRect.empty()) return;
  const Rect d = Intersect(dstRect, dst.bounds());
  if (d.empty()) return;
  for (int y = d.y; y < d.bottom(); ++y) {
    // Sample at the centre of each destination pixel.
    const long long sy = srcRect.y + (static_cast<long long>(y - dstRect.y) * 2 + 1) * srcRect.h / (2LL * dstRect.h);
    if (sy < 0 || sy >= src.height()) continue;
    for (int x = d.x; x < d.right(); ++x) {
      const long long sx = srcRect.x + (static_cast<long long>(x - dstRect.x) * 2 + 1) * srcRect.w / (2LL * dstRect.w);
      if (sx < 0 || sx >= src.width()) continue;
      dst.row(y)[x] = src.at(static_cast<int>(sx), static_cast<int>(sy));
    }
  }
}

}  // namespace kovaren
