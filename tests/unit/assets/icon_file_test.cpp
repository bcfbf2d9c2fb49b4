// The program icon as Windows reads it: a well-formed .ico directory whose entries point at complete
// images of the sizes the shell asks for, each with a transparent background and an autumn-coloured leaf.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>

#include "art/art.h"
#include "gfx/little_endian.h"

namespace {

using kovaren::LoadLe16;
using kovaren::LoadLe32;

struct Image {
  int size = 0, bits = 0;
  size_t offset = 0, length = 0;
};

struct Colour {
  int r, g, b;
  bool transparent;
};

std::vector<uint8_t> IconBytes() {
  for (auto& file : kovaren::art::DrawIconAssets()) {
    if (file.path == "icon/kovaren.ico") return file.bytes;
  }
  return {};
}

std::vector<Image> Directory(const std::vector<uint8_t>& ico) {
  std::vector<Image> images;
  for (uint32_t i = 0; i < LoadLe16(ico, 4); ++i) {
    const size_t e = 6 + 16 * i;
    if (e + 16 > ico.size()) break;  // a directory cut short: the checks below find the missing images
    images.push_back({ico.at(e) == 0 ? 256 : ico.at(e), static_cast<int>(LoadLe16(ico, e + 6)), LoadLe32(ico, e + 12), LoadLe32(ico, e + 8)});
  }
  return images;
}

// Pixel (x, y), top row 0, as the shell would draw it: the AND mask decides transparency, the colour
// comes from the palette (8 bits) or the BGRA value (32 bits, where alpha 0 is transparent too).
Colour PixelOf(const std::vector<uint8_t>& ico, const Image& im, int x, int y) {
  const size_t header = im.offset;
  const size_t palette = header + 40;
  const size_t colours = palette + (im.bits == 8 ? 256 * 4 : 0);
  const size_t colourStride = (im.size * im.bits / 8 + 3) / 4 * 4;
  const size_t mask = colours + colourStride * im.size;
  const size_t maskStride = (im.size + 31) / 32 * 4;
  const int row = im.size - 1 - y;  // bottom-up
  const bool masked = ico.at(mask + row * maskStride + x / 8) & (0x80 >> (x % 8));
  if (im.bits == 32) {
    const size_t p = colours + row * colourStride + x * 4;
    return {ico.at(p + 2), ico.at(p + 1), ico.at(p), masked || ico.at(p + 3) == 0};
  }
  const size_t entry = palette + 4 * ico.at(colours + row * colourStride + x);
  return {ico.at(entry + 2), ico.at(entry + 1), ico.at(entry), masked};
}

TEST(IconFile, DirectoryDescribesCompleteNonOverlappingImages) {
  const auto ico = IconBytes();
  ASSERT_GE(ico.size(), 6u);
  EXPECT_EQ(LoadLe16(ico, 0), 0u);
  EXPECT_EQ(LoadLe16(ico, 2), 1u) << "type 1 = icon";
  const auto images = Directory(ico);
  ASSERT_FALSE(images.empty());

  std::vector<std::pair<size_t, size_t>> spans;
  for (const Image& im : images) {
    SCOPED_TRACE(testing::Message() << im.size << " px, " << im.bits << " bits");
    ASSERT_LE(im.offset + im.length, ico.size());
    ASSERT_GE(im.offset, 6 + 16 * images.size());
    EXPECT_EQ(LoadLe32(ico, im.offset), 40u) << "BITMAPINFOHEADER";
    EXPECT_EQ(static_cast<int>(LoadLe32(ico, im.offset + 4)), im.size);
    EXPECT_EQ(static_cast<int>(LoadLe32(ico, im.offset + 8)), 2 * im.size) << "height counts colour rows and mask rows";
    EXPECT_EQ(static_cast<int>(LoadLe16(ico, im.offset + 14)), im.bits);
    EXPECT_EQ(LoadLe32(ico, im.offset + 16), 0u) << "uncompressed";
    const size_t colourStride = (im.size * im.bits / 8 + 3) / 4 * 4, maskStride = (im.size + 31) / 32 * 4;
    EXPECT_EQ(im.length, 40 + (im.bits == 8 ? 1024u : 0u) + (colourStride + maskStride) * im.size);
    spans.emplace_back(im.offset, im.offset + im.length);
  }
  std::sort(spans.begin(), spans.end());
  for (size_t i = 1; i < spans.size(); ++i) EXPECT_LE(spans[i - 1].second, spans[i].first) << "images overlap";
}

TEST(IconFile, HoldsTheSizesTheShellAsksFor) {
  std::set<std::pair<int, int>> held;
  for (const Image& im : Directory(IconBytes())) held.insert({im.size, im.bits});
  for (auto wanted : std::vector<std::pair<int, int>>{{32, 8}, {16, 32}, {32, 32}, {48, 32}}) {
    EXPECT_TRUE(held.count(wanted)) << wanted.first << " px with " << wanted.second << " bits is missing";
  }
}

TEST(IconFile, EveryImageShowsAnAutumnLeafOnATransparentBackground) {
  const auto ico = IconBytes();
  for (const Image& im : Directory(ico)) {
    SCOPED_TRACE(testing::Message() << im.size << " px, " << im.bits << " bits");
    const int last = im.size - 1;
    for (auto [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {last, 0}, {0, last}, {last, last}}) {
      EXPECT_TRUE(PixelOf(ico, im, x, y).transparent) << "corner " << x << "," << y;
    }
    int opaque = 0, autumn = 0;
    for (int y = 0; y < im.size; ++y) {
      for (int x = 0; x < im.size; ++x) {
        const Colour c = PixelOf(ico, im, x, y);
        if (c.transparent) continue;
        ++opaque;
        if (c.r > c.b + 40 && c.r >= c.g) ++autumn;  // reds, oranges, golds and browns; no blue or green
      }
    }
    // The leaf covers a good part of the square, and (nearly) all of it is in autumn colours.
    EXPECT_GT(opaque, im.size * im.size / 4);
    EXPECT_LT(opaque, im.size * im.size * 3 / 4);
    EXPECT_GE(autumn, opaque * 95 / 100);
    EXPECT_FALSE(PixelOf(ico, im, im.size / 2, im.size / 2).transparent) << "the leaf's heart";
  }
}

}  // namespace
