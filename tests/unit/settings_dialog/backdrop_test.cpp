// The dialog's backdrop: gradient rows and the strip tiling, checked on small pixel buffers.
#include <gtest/gtest.h>

#include <algorithm>

#include "settings_dialog/backdrop.h"
#include "settings_dialog/dialog_layout.h"

namespace kovaren::dialog {
namespace {

int Level(Pixel p) { return RedOf(p); }

TEST(Gradient, DialogHeightGivesKnownRowColours) {
  const std::vector<Pixel> rows = GradientRows(kClientHeight);
  ASSERT_EQ(rows.size(), static_cast<size_t>(kClientHeight) + 1) << "rows 0 to the height inclusive";
  EXPECT_EQ(rows[0], Rgb(0, 0, 30));
  EXPECT_EQ(rows[107], Rgb(220, 220, 250));
  const std::pair<int, int> levels[] = {{10, 32}, {53, 154}, {160, 157}, {213, 3}, {214, 0}};
  for (auto [y, c] : levels) EXPECT_EQ(rows[y], Rgb(c, c, c + 30)) << "row " << y;
}

TEST(Gradient, EveryHeightIsDarkAtBothEdgesAndPeaksAt220) {
  for (int h = 40; h <= 1200; h += 37) {
    const std::vector<Pixel> rows = GradientRows(h);
    ASSERT_EQ(rows.size(), static_cast<size_t>(h) + 1);
    EXPECT_EQ(rows.front(), Rgb(0, 0, 30)) << h;
    EXPECT_EQ(rows.back(), Rgb(0, 0, 30)) << h;
    int peak = 0;
    for (Pixel p : rows) {
      EXPECT_EQ(RedOf(p), GreenOf(p));
      EXPECT_EQ(BlueOf(p), RedOf(p) + 30);
      peak = std::max(peak, Level(p));
    }
    EXPECT_EQ(peak, 220) << h;
    // Rising to the middle, falling after it.
    for (int y = 1; y <= h / 2 - 1; ++y) EXPECT_LE(Level(rows[y - 1]), Level(rows[y])) << h << " row " << y;
    for (int y = h / 2 + 2; y <= h; ++y) EXPECT_GE(Level(rows[y - 1]), Level(rows[y])) << h << " row " << y;
  }
}

TEST(Gradient, NoAreaNoRows) {
  for (double h : {0.0, -5.0}) EXPECT_TRUE(GradientRows(h).empty());
  PixelBuffer empty;
  PaintBackdropGradient(empty);  // nothing to paint, nothing to crash
}

TEST(Gradient, PaintedRowsAreFlatAcrossTheBuffer) {
  PixelBuffer b(7, kClientHeight, Rgb(1, 2, 3));
  PaintBackdropGradient(b);
  const std::vector<Pixel> rows = GradientRows(kClientHeight);
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x) ASSERT_EQ(b.at(x, y), rows[y]) << x << "," << y;
}

TEST(Tiling, CopyPositionsFollowTheStrictEdgeTests) {
  using P = TilePosition;
  struct Case {
    const char* what;
    int sw, sh, pw, ph;
    std::vector<P> expected;
  } cases[] = {
      {"the panel", kStripWidth, kStripHeight, kPanel.w, kPanel.h,
       {{0, 0}, {0, 20}, {0, 40}, {0, 60}, {0, 80}, {0, 100}, {0, 120}, {0, 140},
        {556, 0}, {556, 20}, {556, 40}, {556, 60}, {556, 80}, {556, 100}, {556, 120}, {556, 140}}},
      {"smaller than the strip", 556, 20, 100, 10, {{0, 0}, {0, 20}, {556, 0}, {556, 20}}},
      {"exact multiple of the height", 556, 20, 100, 40,
       {{0, 0}, {0, 20}, {0, 40}, {0, 60}, {556, 0}, {556, 20}, {556, 40}, {556, 60}}},
      {"exact multiple of the width", 10, 20, 20, 5,
       {{0, 0}, {0, 20}, {10, 0}, {10, 20}, {20, 0}, {20, 20}, {30, 0}, {30, 20}}},
      {"no target", 556, 20, 0, 0, {{0, 0}, {0, 20}, {556, 0}, {556, 20}}},
      {"strip without height", 556, 0, 100, 100, {}},
      {"strip without width", 0, 20, 100, 100, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(TilePositions(c.sw, c.sh, c.pw, c.ph), c.expected) << c.what;
}

TEST(Tiling, TargetShowsTheStripRepeatedFromItsTopLeft) {
  PixelBuffer strip(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) strip.set(x, y, Rgb(static_cast<uint8_t>(x + 1), static_cast<uint8_t>(y + 1), 9));
  for (auto [w, h] : {std::pair{1, 1}, {3, 2}, {7, 5}, {12, 8}, {2, 9}}) {
    PixelBuffer target(w, h);
    TileBackground(target, strip);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) ASSERT_EQ(target.at(x, y), strip.at(x % 3, y % 2)) << w << "x" << h;
  }
}

TEST(Backdrop, PanelOverTheGradient) {
  PixelBuffer strip(kStripWidth, kStripHeight);
  for (int y = 0; y < kStripHeight; ++y)
    for (int x = 0; x < kStripWidth; ++x) strip.set(x, y, Rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 77));
  const PixelBuffer b = ComposeBackdrop(kClientWidth, kClientHeight, strip);
  const std::vector<Pixel> rows = GradientRows(kClientHeight);
  for (int y = 0; y < kClientHeight; ++y)
    for (int x = 0; x < kClientWidth; ++x) {
      const bool inPanel = x >= kPanel.x && x < kPanel.right() && y >= kPanel.y && y < kPanel.bottom();
      const Pixel expected = inPanel ? strip.at(x - kPanel.x, (y - kPanel.y) % kStripHeight) : rows[y];
      ASSERT_EQ(b.at(x, y), expected) << x << "," << y;
    }
  EXPECT_EQ(b.at(5, 107), Rgb(220, 220, 250));
  EXPECT_EQ(b.at(459, 0), Rgb(0, 0, 30));
}

}  // namespace
}  // namespace kovaren::dialog
