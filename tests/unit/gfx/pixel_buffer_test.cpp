// Raster operations on pixel buffers: every blit clips to both buffers exactly, at every edge and
// corner, and applies its operation only where source and target overlap.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "gfx/pixel_buffer.h"

namespace kovaren {
namespace {

PixelBuffer Numbered(int w, int h, Pixel salt) {
  PixelBuffer p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.set(x, y, ((static_cast<Pixel>(y) * 97 + x * 31) * 2654435761u ^ salt) & 0xFFFFFF);
  return p;
}

// The blit by definition: each destination pixel looked up on its own.
PixelBuffer Expected(const PixelBuffer& dst, int dx, int dy, const PixelBuffer& src, const Rect& sr, RasterOp op) {
  PixelBuffer out = dst;
  for (int y = 0; y < dst.height(); ++y)
    for (int x = 0; x < dst.width(); ++x) {
      const int sx = sr.x + (x - dx), sy = sr.y + (y - dy);
      if (x - dx < 0 || y - dy < 0 || x - dx >= sr.w || y - dy >= sr.h) continue;
      if (sx < 0 || sy < 0 || sx >= src.width() || sy >= src.height()) continue;
      const Pixel s = src.at(sx, sy), d = dst.at(x, y);
      out.set(x, y, op == RasterOp::Copy ? s : op == RasterOp::And ? (d & s) : (d ^ s));
    }
  return out;
}

TEST(Blit, ClipsAtEveryEdgeAndCornerForEveryOperation) {
  const PixelBuffer dst = Numbered(13, 9, 0x00A5A5A5);
  const PixelBuffer src = Numbered(6, 5, 0x005A0F33);
  const Rect whole = src.bounds();
  struct Case {
    int dx, dy;
    Rect sr;
  } cases[] = {
      {3, 2, whole},    {-2, 2, whole},   {10, 2, whole},  {3, -3, whole},  {3, 7, whole},
      {-5, -4, whole},  {12, 8, whole},   {-5, 8, whole},  {12, -4, whole}, {-6, 0, whole},
      {13, 0, whole},   {0, 9, whole},    {0, -5, whole},  {-100, -100, whole},
      {2, 2, {1, 1, 3, 2}},       // part of the source
      {0, 0, {-2, -1, 5, 4}},     // source rectangle hanging off the source's top-left
      {11, 7, {3, 2, 9, 9}},      // and off its bottom-right, at the target's corner
      {4, 4, {0, 0, 0, 3}},       // empty
      {-1, 3, {2, -3, 10, 10}},
  };
  for (const Case& c : cases) {
    for (RasterOp op : {RasterOp::Copy, RasterOp::And, RasterOp::Xor}) {
      PixelBuffer got = dst;
      Blit(got, c.dx, c.dy, src, c.sr, op);
      ASSERT_EQ(got, Expected(dst, c.dx, c.dy, src, c.sr, op))
          << "at (" << c.dx << ", " << c.dy << ") from {" << c.sr.x << ", " << c.sr.y << ", " << c.sr.w << ", "
          << c.sr.h << "} op " << static_cast<int>(op);
    }
  }
}

TEST(Blit, MaskThenXorDrawsAnOpaqueShape) {
  // The saver's compositing identity: AND with (white outside, black inside) then XOR with
  // (black outside, colour inside) gives the colour inside and leaves the rest alone.
  const PixelBuffer dst = Numbered(4, 3, 0x00123456);
  PixelBuffer mask(2, 2, 0xFFFFFF), colour(2, 2, 0);
  mask.set(1, 0, 0);
  colour.set(1, 0, 0xFF8000);
  PixelBuffer got = dst;
  Blit(got, 1, 1, mask, RasterOp::And);
  Blit(got, 1, 1, colour, RasterOp::Xor);
  PixelBuffer want = dst;
  want.set(2, 1, 0xFF8000);
  EXPECT_EQ(got, want);
}

// A view over padded rows (a shared image's): every operation lands where it does in a buffer, and
// the padding between rows is never touched.
TEST(Blit, IntoAPaddedViewMatchesTheBufferAndSparesThePadding) {
  constexpr int kPad = 3;
  constexpr Pixel kGuard = 0xDEADBEEF;
  const PixelBuffer dst = Numbered(13, 9, 0x00A5A5A5);
  const PixelBuffer src = Numbered(6, 5, 0x005A0F33);
  const int stride = dst.width() + kPad;
  for (const RasterOp op : {RasterOp::Copy, RasterOp::And, RasterOp::Xor}) {
    for (const auto& [dx, dy] : {std::pair{3, 2}, {-2, -3}, {10, 7}}) {
      std::vector<Pixel> storage(static_cast<size_t>(stride) * dst.height(), kGuard);
      const PixelView view(storage.data(), dst.width(), dst.height(), stride);
      Blit(view, 0, 0, dst, RasterOp::Copy);
      Blit(view, dx, dy, src, src.bounds(), op);
      EXPECT_EQ(PixelBuffer(view), Expected(dst, dx, dy, src, src.bounds(), op)) << "at " << dx << ", " << dy;
      for (int y = 0; y < dst.height(); ++y)
        for (int x = dst.width(); x < stride; ++x) ASSERT_EQ(storage[static_cast<size_t>(y) * stride + x], kGuard);
    }
  }
}

TEST(RectOps, IntersectAndUnionHandleDisjointAndEmptyRectangles) {
  struct Case {
    Rect a, b, intersect, unite;
  } cases[] = {
      {{0, 0, 4, 4}, {2, 2, 4, 4}, {2, 2, 2, 2}, {0, 0, 6, 6}},
      {{0, 0, 4, 4}, {4, 0, 2, 2}, {}, {0, 0, 6, 4}},
      {{-3, -3, 2, 2}, {0, 0, 0, 0}, {}, {-3, -3, 2, 2}},
      {{1, 1, 0, 5}, {2, 3, 1, 1}, {}, {2, 3, 1, 1}},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(Intersect(c.a, c.b).empty() == c.intersect.empty());
    if (!c.intersect.empty()) {
      EXPECT_EQ(Intersect(c.a, c.b), c.intersect);
    }
    EXPECT_EQ(Union(c.a, c.b), c.unite);
  }
}

TEST(PixelBuffer, RefusesImpossibleSizes) {
  EXPECT_THROW(PixelBuffer(-1, 4), std::length_error);
  EXPECT_THROW(PixelBuffer(4, -1), std::length_error);
  EXPECT_THROW(PixelBuffer(1 << 16, 1 << 16), std::length_error);
  EXPECT_TRUE(PixelBuffer(0, 7).empty());
}

}  // namespace
}  // namespace kovaren
