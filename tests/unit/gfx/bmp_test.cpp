// The BMP codec: pictures survive a write and a read pixel for pixel at every row padding, the 32 x 32
// sprite size comes out at 3,126 bytes, and damaged files are refused rather than misread.
#include <gtest/gtest.h>

#include "gfx/bmp.h"

namespace kovaren {
namespace {

PixelBuffer Noise(int w, int h, uint32_t seed) {
  PixelBuffer p(w, h);
  for (Pixel& px : p.pixels()) {
    seed = seed * 1664525u + 1013904223u;
    px = seed >> 8;
  }
  return p;
}

TEST(Bmp, RoundTripsEveryRowPadding) {
  struct Case {
    int w, h;
    size_t bytes;
  } cases[] = {{1, 1, 58}, {2, 3, 54 + 8 * 3}, {3, 2, 54 + 12 * 2}, {4, 1, 66}, {5, 5, 54 + 16 * 5}, {32, 32, 3126}};
  for (const Case& c : cases) {
    const PixelBuffer picture = Noise(c.w, c.h, static_cast<uint32_t>(c.w * 100 + c.h));
    const auto file = EncodeBmp24(picture);
    EXPECT_EQ(file.size(), c.bytes) << c.w << "x" << c.h;
    const auto back = DecodeBmp(file);
    ASSERT_TRUE(back) << c.w << "x" << c.h;
    EXPECT_EQ(*back, picture) << c.w << "x" << c.h;
  }
}

TEST(Bmp, StoresRowsBottomUpInBlueGreenRedOrder) {
  PixelBuffer p(1, 2);
  p.set(0, 0, Rgb(1, 2, 3));  // top row
  p.set(0, 1, Rgb(4, 5, 6));
  const auto file = EncodeBmp24(p);
  ASSERT_EQ(file.size(), 62u);
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54, file.end()), (std::vector<uint8_t>{6, 5, 4, 0, 3, 2, 1, 0}));
}

TEST(Bmp, RefusesEveryTruncationAndBadHeaders) {
  const auto good = EncodeBmp24(Noise(7, 5, 3));
  for (size_t n = 0; n < good.size(); ++n) {
    EXPECT_FALSE(DecodeBmp(std::span(good).first(n))) << "cut to " << n << " bytes";
  }
  struct Case {
    const char* what;
    size_t at;
    uint8_t value;
  } cases[] = {{"not BM", 0, 'X'}, {"8-bit", 28, 8}, {"RLE", 30, 1}, {"zero width", 18, 0}, {"offset past the end", 12, 0x7F}};
  for (const Case& c : cases) {
    auto bad = good;
    bad[c.at] = c.value;
    if (c.at == 18) bad[19] = bad[20] = bad[21] = 0;
    EXPECT_FALSE(DecodeBmp(bad)) << c.what;
  }
  // The largest header the decoder accepts (32768 x 32768, 32-bit: 4 GiB of pixels) over a few bytes:
  // the image size must not wrap round where sizes are 32 bits wide.
  auto huge = good;
  huge[19] = huge[23] = 0x80;  // width and height 0x8000
  huge[18] = huge[20] = huge[21] = huge[22] = huge[24] = huge[25] = 0;
  huge[28] = 32;
  EXPECT_FALSE(DecodeBmp(huge)) << "header far larger than the file";
}

}  // namespace
}  // namespace kovaren
