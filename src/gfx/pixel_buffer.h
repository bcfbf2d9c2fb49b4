// Folder src/gfx owns pictures as values: pixel buffers and their raster operations (this file), the
// BMP codec, rounding to pixels, screen coordinates and little-endian file fields.
//
// A picture in memory: width x height pixels of 0x00RRGGBB, rows top to bottom, no padding.
// A value type (copyable, comparable). A view is the same layout in storage someone else owns (a
// shared image, a DIB section), rows `stride` pixels apart; every buffer is also a view of itself.
// The raster operations clip first and do nothing when nothing is left, so callers may blit
// anywhere, partly or wholly off the buffer.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>
#include <vector>

namespace kovaren {

using Pixel = uint32_t;  // 0x00RRGGBB

constexpr Pixel Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return (Pixel{r} << 16) | (Pixel{g} << 8) | Pixel{b};
}
constexpr uint8_t RedOf(Pixel p) { return static_cast<uint8_t>(p >> 16); }
constexpr uint8_t GreenOf(Pixel p) { return static_cast<uint8_t>(p >> 8); }
constexpr uint8_t BlueOf(Pixel p) { return static_cast<uint8_t>(p); }

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  int right() const { return x + w; }
  int bottom() const { return y + h; }
  bool empty() const { return w <= 0 || h <= 0; }
  bool operator==(const Rect&) const = default;
};

Rect Intersect(const Rect& a, const Rect& b);
// The smallest rectangle holding both; an empty operand is ignored.
Rect Union(const Rect& a, const Rect& b);

enum class RasterOp {
  Copy,  // SRCCOPY:   dst = src
  And,   // SRCAND:    dst = dst & src
  Xor,   // SRCINVERT: dst = dst ^ src
};

// Pixels someone else owns: P is Pixel (writable) or const Pixel. Copying a view copies no pixels;
// comparing two compares their sizes and pixels.
template <typename P>
class BasicPixelView {
 public:
  BasicPixelView() = default;
  BasicPixelView(P* data, int width, int height, int stride)
      : data_(data), width_(width), height_(height), stride_(stride) {}
  // A writable view is also a read-only one.
  template <typename Q>
    requires(std::is_const_v<P> && std::is_same_v<Q, std::remove_const_t<P>>)
  BasicPixelView(BasicPixelView<Q> v) : BasicPixelView(v.row(0), v.width(), v.height(), v.stride()) {}

  int width() const { return width_; }
  int height() const { return height_; }
  int stride() const { return stride_; }
  Rect bounds() const { return {0, 0, width_, height_}; }
  bool empty() const { return data_ == nullptr || width_ <= 0 || height_ <= 0; }
  P* row(int y) const { return data_ + static_cast<ptrdiff_t>(y) * stride_; }
  Pixel at(int x, int y) const { return row(y)[x]; }

  friend bool operator==(BasicPixelView a, BasicPixelView b) {
    if (a.width_ != b.width_ || a.height_ != b.height_) return false;
    for (int y = 0; y < a.height_; ++y)
      if (!std::equal(a.row(y), a.row(y) + a.width_, b.row(y))) return false;
    return true;
  }

 private:
  P* data_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
};
using PixelView = BasicPixelView<Pixel>;
using ConstPixelView = BasicPixelView<const Pixel>;

class PixelBuffer {
 public:
  PixelBuffer() = default;
  // Throws std::length_error for negative sizes or a pixel count that does not fit memory indexing.
  PixelBuffer(int width, int height, Pixel fill = 0);
  // A copy of the pixels `view` shows.
  explicit PixelBuffer(ConstPixelView view);

  int width() const { return width_; }
  int height() const { return height_; }
  int stride() const { return width_; }  // pixels per row
  Rect bounds() const { return {0, 0, width_, height_}; }
  bool empty() const { return pixels_.empty(); }

  Pixel* row(int y) { return pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_); }
  const Pixel* row(int y) const {
    return pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_);
  }
  Pixel at(int x, int y) const { return row(y)[x]; }
  void set(int x, int y, Pixel p) { row(y)[x] = p; }

  std::span<Pixel> pixels() { return pixels_; }
  std::span<const Pixel> pixels() const { return pixels_; }

  // Fills the part of r that lies inside the buffer.
  void fill(const Rect& r, Pixel p);
  void fill(Pixel p) { fill(bounds(), p); }

  bool operator==(const PixelBuffer&) const = default;

  operator PixelView() { return {pixels_.data(), width_, height_, width_}; }
  operator ConstPixelView() const { return {pixels_.data(), width_, height_, width_}; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

// BitBlt: applies op from src (the rectangle srcRect of it) onto dst at (dx, dy), clipped to both.
void Blit(PixelView dst, int dx, int dy, ConstPixelView src, const Rect& srcRect, RasterOp op);
inline void Blit(PixelView dst, int dx, int dy, ConstPixelView src, RasterOp op) {
  Blit(dst, dx, dy, src, src.bounds(), op);
}

// StretchBlt with SRCCOPY and nearest-neighbour sampling: srcRect of src scaled onto dstRect of dst,
// clipped to dst. A zero or negative destination size draws nothing.
void StretchBlit(PixelView dst, const Rect& dstRect, ConstPixelView src, const Rect& srcRect);

}  // namespace kovaren
