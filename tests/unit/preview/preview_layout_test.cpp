// The preview's decisions: when it must not run, how large it is for any host (including hosts far
// beyond the standard box), and that one paint shows the picture top-left, unscaled, with black
// exactly where the picture does not reach.
#include "preview/preview_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace kovaren::preview {
namespace {

constexpr int32_t kMin32 = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax32 = std::numeric_limits<int32_t>::max();

TEST(PlanPreview, EndsAtOnceWithoutAHostAndOtherwiseFillsIt) {
  struct Case {
    std::string what;
    HostWindow handle;
    std::optional<ScreenRect> host;
    std::optional<Size> expected;
  };
  const std::vector<Case> cases = {
      {"handle 0", kNoWindow, ScreenRect{10, 20, 162, 132}, std::nullopt},
      {"handle 0, no window", kNoWindow, std::nullopt, std::nullopt},
      {"handle names no window", {1234}, std::nullopt, std::nullopt},
      {"standard box", {1234}, ScreenRect{10, 20, 162, 132}, Size{152, 112}},
      {"larger box", {0x10052}, ScreenRect{300, 200, 500, 350}, Size{200, 150}},
      {"on a monitor left of and above the primary", {7}, ScreenRect{-1600, -900, -1448, -788}, Size{152, 112}},
      {"negative handle value", {-5}, ScreenRect{0, 0, 152, 112}, Size{152, 112}},
      {"host of no size still runs: its lifetime is followed", {7}, ScreenRect{40, 40, 40, 40}, Size{0, 0}},
      {"reversed edges give no size, not a negative one", {7}, ScreenRect{200, 150, 100, 50}, Size{0, 0}},
      // Beyond the 16-bit twips range (2184 pixels at 15 per pixel): sized in pixels, not cut.
      {"wider than 16-bit twips", {7}, ScreenRect{0, 0, 2185, 112}, Size{2185, 112}},
      {"taller than 16-bit twips", {7}, ScreenRect{0, 0, 152, 4000}, Size{152, 4000}},
      {"a whole wall of monitors", {7}, ScreenRect{-3840, 0, 3840, 2160}, Size{7680, 2160}},
      {"edges at the ends of the 32-bit range", {7}, ScreenRect{kMin32, kMin32, kMax32, kMax32},
       Size{kMax32, kMax32}},
  };
  for (const Case& c : cases) {
    const std::optional<Size> got = PlanPreview(c.handle, c.host);
    ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.what;
    if (got) {
      EXPECT_EQ(*got, *c.expected) << c.what << ": " << got->w << " x " << got->h;
    }
  }
}

TEST(PreviewSize, KeepsEveryPixelWidthAndHeightExactly) {
  // A size held in 16-bit twips, or converted through a rounded twips factor, loses pixels somewhere
  // in this range.
  for (int px = 0; px <= 6000; ++px) {
    const Size s = PreviewSize({-px / 2, 100, px - px / 2, 100 + px});
    ASSERT_EQ(s, (Size{px, px})) << px;
  }
}

// Paints one frame the way the window does (black rectangles, then the picture part at the same
// place) into a buffer pre-filled with a colour neither uses, so a gap or a misplaced part shows.
PixelBuffer PaintFrame(Size window, const PixelBuffer& picture) {
  constexpr Pixel kUnpainted = 0x00FF00FF;
  PixelBuffer frame(window.w, window.h, kUnpainted);
  const PaintPlan plan = PlanPaint(window, {picture.width(), picture.height()});
  frame.fill(plan.blackRight, 0);
  frame.fill(plan.blackBelow, 0);
  Blit(frame, plan.picture.x, plan.picture.y, picture, plan.picture, RasterOp::Copy);
  return frame;
}

PixelBuffer NumberedPicture(int w, int h) {
  PixelBuffer p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.set(x, y, Rgb(static_cast<uint8_t>(x + 1), static_cast<uint8_t>(y + 1), 0x40));
  return p;
}

TEST(PlanPaint, ShowsThePictureTopLeftUnscaledAndBlackElsewhere) {
  struct Case {
    Size window;
    Size picture;
    Rect shown;
  };
  const std::vector<Case> cases = {
      {{152, 112}, {152, 112}, {0, 0, 152, 112}},  // filled exactly
      {{200, 150}, {152, 112}, {0, 0, 152, 112}},  // framed in black right and below
      {{100, 80}, {152, 112}, {0, 0, 100, 80}},    // cut
      {{200, 60}, {152, 112}, {0, 0, 152, 60}},    // wider but shorter
      {{40, 300}, {152, 112}, {0, 0, 40, 112}},    // narrower but taller
      {{1, 1}, {152, 112}, {0, 0, 1, 1}},
      {{152, 112}, {0, 0}, {0, 0, 0, 0}},  // the picture is missing: all black
      {{0, 0}, {152, 112}, {0, 0, 0, 0}},
      {{0, 50}, {152, 112}, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    const std::string what = std::to_string(c.window.w) + " x " + std::to_string(c.window.h) + " window, " +
                             std::to_string(c.picture.w) + " x " + std::to_string(c.picture.h) + " picture";
    EXPECT_EQ(PlanPaint(c.window, c.picture).picture, c.shown) << what;

    const PixelBuffer picture = NumberedPicture(c.picture.w, c.picture.h);
    const PixelBuffer frame = PaintFrame(c.window, picture);
    for (int y = 0; y < c.window.h; ++y) {
      for (int x = 0; x < c.window.w; ++x) {
        const bool onPicture = x < c.picture.w && y < c.picture.h;
        const Pixel expected = onPicture ? picture.at(x, y) : 0;
        ASSERT_EQ(frame.at(x, y), expected) << what << " at " << x << ", " << y;
      }
    }
  }
}

TEST(PlanPaint, PartsNeverOverlapAndCoverTheWindowExactly) {
  const std::vector<int> sizes = {0, 1, 2, 111, 112, 113, 151, 152, 153, 1000};
  for (int ww : sizes) {
    for (int wh : sizes) {
      for (const Size picture : {Size{152, 112}, Size{0, 0}, Size{1, 300}}) {
        const PaintPlan plan = PlanPaint({ww, wh}, picture);
        const Rect window{0, 0, ww, wh};
        const std::vector<Rect> parts = {plan.picture, plan.blackRight, plan.blackBelow};
        long long area = 0;
        for (size_t i = 0; i < parts.size(); ++i) {
          const Rect& r = parts[i];
          if (r.empty()) continue;
          EXPECT_EQ(Intersect(r, window), r) << "part " << i << " leaves the " << ww << " x " << wh << " window";
          area += static_cast<long long>(r.w) * r.h;
          for (size_t j = i + 1; j < parts.size(); ++j)
            EXPECT_TRUE(Intersect(r, parts[j]).empty()) << "parts " << i << " and " << j << " overlap";
        }
        EXPECT_EQ(area, static_cast<long long>(ww) * wh) << ww << " x " << wh;
        EXPECT_LE(plan.picture.w, picture.w);
        EXPECT_LE(plan.picture.h, picture.h);
      }
    }
  }
}

}  // namespace
}  // namespace kovaren::preview
