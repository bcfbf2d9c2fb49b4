// The saver window presents only the rectangles a pass reports (clipped to them), so a screen fed
// nothing but those rectangles must show exactly the frame after every pass. A rectangle missing from
// the report leaves a fragment of an old leaf on screen for good.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "art/leaf_art.h"
#include "gfx/pixel_buffer.h"
#include "saver/leaf.h"
#include "saver/leaf_scene.h"

namespace kovaren::saver {
namespace {

PixelBuffer Desktop(int w, int h) {
  PixelBuffer picture(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) picture.set(x, y, Rgb(static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 3), 90));
  return picture;
}

// First mismatching pixel, for a readable failure.
std::string FirstDifference(ConstPixelView a, ConstPixelView b) {
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.at(x, y) != b.at(x, y)) return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
  return "none";
}

TEST(PresentedScreen, ShowsTheFrameAfterEveryPassWhenFedOnlyTheReportedRectangles) {
  struct Case {
    int width, height, leafCount, passes;
    uint64_t seed;
    int scale = 1;
  };
  const std::vector<Case> cases = {
      {1024, 768, 500, 1500, 1},  // crowded: boxes overlap all the time
      {1024, 768, 100, 1500, 2},
      {640, 200, 300, 1500, 3},   // short screen: many respawns at the top edge
      {300, 900, 50, 2500, 4},    // narrow: leaves clipped at both sides
      {1281, 721, 300, 1200, 5, 2},  // a 200 % screen, one spare column and row
      {900, 500, 100, 1200, 6, 3},
  };
  const SpriteSet sprites = art::DrawLeafSprites();
  for (const Case& c : cases) {
    LeafScene scene(Desktop(c.width, c.height), sprites, c.leafCount, std::make_unique<SeededRandom>(c.seed), c.scale);
    PixelBuffer screen(scene.frame());  // what the window showed after its first full paint
    for (int pass = 1; pass <= c.passes; ++pass) {
      for (const Rect& r : scene.RunPass()) {
        ASSERT_EQ(Intersect(r, screen.bounds()), r) << "rectangles lie inside the frame";
        Blit(screen, r.x, r.y, scene.frame(), r, RasterOp::Copy);
      }
      if (pass % 10 == 0 || pass == c.passes) {  // comparing every pass would only slow the test
        ASSERT_EQ(screen, scene.frame()) << c.width << "x" << c.height << " at scale " << c.scale << " leaves "
                                         << c.leafCount << " pass " << pass
                                         << ": first stale pixel " << FirstDifference(screen, scene.frame());
      }
    }
  }
}

}  // namespace
}  // namespace kovaren::saver
