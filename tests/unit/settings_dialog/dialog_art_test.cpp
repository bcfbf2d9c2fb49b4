// The dialog's pictures as drawn by the generator: strip colours, option marks and the hand pointer.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "art/art.h"
#include "gfx/bmp.h"
#include "gfx/little_endian.h"
#include "settings_dialog/dialog_layout.h"

namespace kovaren::dialog {
namespace {

std::map<std::string, std::vector<uint8_t>> DialogFiles() {
  std::map<std::string, std::vector<uint8_t>> files;
  for (auto& f : art::DrawDialogAssets()) files[f.path] = f.bytes;
  return files;
}

PixelBuffer Picture(const std::string& path) {
  const auto files = DialogFiles();
  const auto it = files.find(path);
  if (it == files.end()) return {};
  return DecodeBmp(it->second).value_or(PixelBuffer{});
}

TEST(DialogArt, StripFallsEvenlyFromLightToDarkWithStreaksInRange) {
  const PixelBuffer strip = Picture("dialog/strip.bmp");
  ASSERT_EQ(strip.width(), kStripWidth);
  ASSERT_EQ(strip.height(), kStripHeight);
  const double left[3] = {222, 219, 220}, right[3] = {175, 170, 168};
  int streakyColumns = 0;
  for (int x = 0; x < kStripWidth; ++x) {
    double sum[3] = {};
    int lo = 255, hi = 0;
    for (int y = 0; y < kStripHeight; ++y) {
      const Pixel p = strip.at(x, y);
      const int c[3] = {RedOf(p), GreenOf(p), BlueOf(p)};
      for (int ch = 0; ch < 3; ++ch) {
        ASSERT_GE(c[ch], 160) << x << "," << y;
        ASSERT_LE(c[ch], 224) << x << "," << y;
        sum[ch] += c[ch];
      }
      lo = std::min(lo, c[0]);
      hi = std::max(hi, c[0]);
    }
    const double t = static_cast<double>(x) / (kStripWidth - 1);
    for (int ch = 0; ch < 3; ++ch)
      EXPECT_NEAR(sum[ch] / kStripHeight, left[ch] + (right[ch] - left[ch]) * t, 2.0) << "column " << x;
    if (hi - lo >= 4) ++streakyColumns;
  }
  EXPECT_GT(streakyColumns, kStripWidth * 9 / 10) << "rows must differ: brushed streaks";
}

TEST(DialogArt, OptionMarks) {
  const PixelBuffer off = Picture("dialog/mark_off.bmp");
  const PixelBuffer on = Picture("dialog/mark_on.bmp");
  ASSERT_EQ(off.bounds(), (Rect{0, 0, kMarkSize, kMarkSize}));
  ASSERT_EQ(on.bounds(), (Rect{0, 0, kMarkSize, kMarkSize}));
  for (int y = 0; y < kMarkSize; ++y)
    for (int x = 0; x < kMarkSize; ++x) {
      const bool border = x == 0 || y == 0 || x == kMarkSize - 1 || y == kMarkSize - 1;
      const Pixel p = off.at(x, y);
      if (border) {
        EXPECT_TRUE(RedOf(p) == GreenOf(p) && GreenOf(p) == BlueOf(p) && RedOf(p) < 200) << "grey border";
      } else {
        EXPECT_EQ(p, Rgb(255, 255, 255)) << "white inside";
      }
      const Pixel q = on.at(x, y);
      EXPECT_GT(BlueOf(q), RedOf(q) + 100) << "blue";
      EXPECT_GT(BlueOf(q), GreenOf(q) + 100) << "blue";
    }
}

// The two-colour cursor file: its header, and each pixel as clear, black or white.
struct Cursor {
  int width = 0, height = 0, hotX = -1, hotY = -1;
  std::vector<std::vector<char>> cells;  // ' ' clear, 'B' black, 'W' white
};

Cursor ReadCursor(const std::vector<uint8_t>& b) {
  Cursor c;
  if (b.size() < 22 || LoadLe16(b, 0) != 0 || LoadLe16(b, 2) != 2 || LoadLe16(b, 4) != 1) return c;
  c.width = b[6];
  c.height = b[7];
  c.hotX = static_cast<int>(LoadLe16(b, 10));
  c.hotY = static_cast<int>(LoadLe16(b, 12));
  const size_t image = LoadLe32(b, 18);
  if (image + 48 > b.size()) return {};  // headers and palette must lie inside the file
  if (LoadLe32(b, image) != 40 || LoadLe16(b, image + 14) != 1 || LoadLe32(b, image + 8) != 2u * c.height) return {};
  const uint32_t black = LoadLe32(b, image + 40), white = LoadLe32(b, image + 44);
  if (black != 0 || white != 0xFFFFFF) return {};
  const size_t xorBits = image + 48, rowBytes = static_cast<size_t>(c.width) / 8;
  const size_t andBits = xorBits + rowBytes * c.height;
  if (andBits + rowBytes * c.height != b.size()) return {};
  c.cells.assign(c.height, std::vector<char>(c.width, ' '));
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const size_t row = static_cast<size_t>(c.height - 1 - y) * rowBytes + x / 8;
      const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
      const bool clear = b[andBits + row] & bit, colour = b[xorBits + row] & bit;
      if (clear && colour) return {};  // would invert the screen: not a two-colour picture
      c.cells[y][x] = clear ? ' ' : (colour ? 'W' : 'B');
    }
  return c;
}

TEST(DialogArt, HandPointerIsAnOutlinedHandWithTheFingertipAtTheHotSpot) {
  const Cursor c = ReadCursor(DialogFiles()["dialog/hand.cur"]);
  ASSERT_EQ(c.width, 32);
  ASSERT_EQ(c.height, 32);
  EXPECT_EQ(c.hotX, 12);
  EXPECT_EQ(c.hotY, 10);
  ASSERT_EQ(c.cells.size(), 32u);
  EXPECT_NE(c.cells[10][12], ' ') << "the hot spot lies on the hand";
  int white = 0, topmost = 32;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      if (c.cells[y][x] != ' ') topmost = std::min(topmost, y);
      if (c.cells[y][x] != 'W') continue;
      ++white;
      // White inside a black outline: no white pixel touches the clear surroundings.
      for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        const int nx = x + dx, ny = y + dy;
        ASSERT_TRUE(nx >= 0 && nx < 32 && ny >= 0 && ny < 32 && c.cells[ny][nx] != ' ') << x << "," << y;
      }
    }
  EXPECT_GT(white, 100);
  // The index finger points up: the hand's highest pixels are right above the hot spot.
  EXPECT_EQ(topmost, 9);
  for (int x = 0; x < 32; ++x) {
    if (c.cells[topmost][x] != ' ') {
      EXPECT_NEAR(x, 12, 2);
    }
  }
}

}  // namespace
}  // namespace kovaren::dialog
