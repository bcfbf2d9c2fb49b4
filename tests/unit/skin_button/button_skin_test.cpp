// Drawing the button face: where each rim piece lands and from where, the gradient's rows, and the
// caption's box, for the two button sizes the settings dialog uses.
#include <gtest/gtest.h>

#include "skin_button/button_skin.h"

namespace kovaren::skin_button {
namespace {

// A skin whose every pixel names its own position, so a drawn pixel tells where it was copied from.
constexpr Pixel kTag = 0xAA0000;
PixelBuffer PositionSkin() {
  PixelBuffer skin(kSkinWidth, kSkinHeight);
  for (int y = 0; y < kSkinHeight; ++y) {
    for (int x = 0; x < kSkinWidth; ++x) skin.set(x, y, kTag | static_cast<Pixel>(x << 8 | y));
  }
  return skin;
}
bool FromSkin(Pixel p) { return (p & 0xFF0000) == kTag; }
int SourceX(Pixel p) { return static_cast<int>((p >> 8) & 0xFF); }
int SourceY(Pixel p) { return static_cast<int>(p & 0xFF); }

TEST(RimPieces, EdgesStretchAlongTheirLengthOnly) {
  struct Case {
    int w, h;
    int horizontalEdge, verticalEdge;
  };
  for (const Case c : {Case{81, 25, 73, 17}, Case{29, 21, 21, 13}, Case{64, 25, 56, 17}}) {
    const auto pieces = RimPieces(c.w, c.h);
    const Rect top = pieces[1].destination, right = pieces[3].destination;
    const Rect bottom = pieces[5].destination, left = pieces[7].destination;
    EXPECT_EQ(top, (Rect{4, 0, c.horizontalEdge, 4})) << c.w;
    EXPECT_EQ(bottom, (Rect{4, c.h - 4, c.horizontalEdge, 4})) << c.w;
    EXPECT_EQ(right, (Rect{c.w - 4, 4, 4, c.verticalEdge})) << c.w;
    EXPECT_EQ(left, (Rect{0, 4, 4, c.verticalEdge})) << c.w;
    for (int corner : {0, 2, 4, 6}) {
      EXPECT_EQ(pieces[corner].source.w, 4);
      EXPECT_EQ(pieces[corner].destination.w, 4);
      EXPECT_EQ(pieces[corner].destination.h, 4);
    }
    // The eight destinations tile the four-pixel rim exactly once.
    int covered = 0;
    for (const auto& p : pieces) covered += p.destination.w * p.destination.h;
    EXPECT_EQ(covered, c.w * c.h - (c.w - 8) * (c.h - 8));
  }
}

TEST(DrawButtonFace, RimComesFromThePictureRimAndTheMiddleFromTheGradient) {
  const PixelBuffer skin = PositionSkin();
  for (auto [w, h] : {std::pair{81, 25}, {29, 21}}) {
    PixelBuffer surface(w, h);
    DrawButtonFace(surface, skin, false);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const Pixel p = surface.at(x, y);
        const bool rim = x < 4 || x >= w - 4 || y < 4 || y >= h - 4;
        ASSERT_EQ(FromSkin(p), rim) << w << "x" << h << " at " << x << "," << y;
        if (!rim) continue;
        const int sx = SourceX(p), sy = SourceY(p);
        // Taken from the picture's own rim, on the same side.
        EXPECT_TRUE(sx < 4 || sx >= 60 || sy < 4 || sy >= 21) << x << "," << y;
        if (x < 4) {
          EXPECT_EQ(sx, x);
        }
        if (x >= w - 4) {
          EXPECT_EQ(sx, x - w + kSkinWidth);
        }
        if (y < 4) {
          EXPECT_EQ(sy, y);
        }
        if (y >= h - 4) {
          EXPECT_EQ(sy, y - h + kSkinHeight);
        }
      }
    }
  }
}

TEST(PaintFaceGradient, RowsRunFromOneColourTowardsTheOtherAndLeaveTheLastRowAndColumn) {
  struct Case {
    bool shadedTop;
    Pixel first, lastCovered;  // rows 0 and h - 2 of a 25-pixel-high button
  };
  constexpr Pixel kUntouched = 0x123456;
  for (const Case c : {Case{false, Rgb(255, 255, 255), Rgb(200, 199, 216)},
                       Case{true, Rgb(198, 197, 215), Rgb(252, 252, 253)}}) {
    PixelBuffer surface(81, 25, kUntouched);
    PaintFaceGradient(surface, c.shadedTop);
    EXPECT_EQ(surface.at(0, 0), c.first);
    EXPECT_EQ(surface.at(79, 23), c.lastCovered);
    for (int y = 0; y < 24; ++y) {
      for (int x = 1; x < 80; ++x) ASSERT_EQ(surface.at(x, y), surface.at(0, y)) << "row " << y << " is not one colour";
      if (y > 0) {
        // Monotonic towards the far colour in every channel.
        const int step = c.shadedTop ? 1 : -1;
        EXPECT_GE(step * (RedOf(surface.at(0, y)) - RedOf(surface.at(0, y - 1))), 0);
        EXPECT_GE(step * (BlueOf(surface.at(0, y)) - BlueOf(surface.at(0, y - 1))), 0);
      }
      EXPECT_EQ(surface.at(80, y), kUntouched);
    }
    for (int x = 0; x < 81; ++x) EXPECT_EQ(surface.at(x, 24), kUntouched);
  }
}

TEST(PaintFaceGradient, TinySurfacesAreLeftAlone) {
  for (auto [w, h] : {std::pair{0, 0}, {1, 25}, {81, 1}}) {
    PixelBuffer surface(w, h, 7);
    PaintFaceGradient(surface, false);
    EXPECT_EQ(surface, PixelBuffer(w, h, 7));
  }
}

TEST(DrawButtonFace, NarrowButtonsDrawWithoutFault) {
  const PixelBuffer skin = PositionSkin();
  for (auto [w, h] : {std::pair{7, 7}, {4, 4}, {1, 30}, {2000, 3}}) {
    PixelBuffer surface(w, h);
    DrawButtonFace(surface, skin, true);
    EXPECT_TRUE(FromSkin(surface.at(0, 0))) << w << "x" << h;
  }
}

TEST(CaptionBox, SitsTenTwipsAboveCentre) {
  struct Case {
    int w, h;
    Rect box;
  };
  // 375 twips high: top (375 - 195 - 20) / 2 = 80 twips = 5 1/3 px; 315 twips: 50 twips = 3 1/3 px.
  for (const Case c : {Case{81, 25, {0, 5, 81, 13}}, Case{29, 21, {0, 3, 29, 13}}, Case{100, 40, {0, 13, 100, 13}}}) {
    EXPECT_EQ(CaptionBox(c.w, c.h), c.box) << c.w << "x" << c.h;
  }
}

}  // namespace
}  // namespace kovaren::skin_button
