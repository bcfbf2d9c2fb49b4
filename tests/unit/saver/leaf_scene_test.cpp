// The compositor: one leaf drawn opaque and clipped at every edge, and the dirty-rectangle passes
// matching the whole-frame rebuild pixel for pixel, with every changed pixel inside a reported box.
#include <gtest/gtest.h>

#include "art/leaf_art.h"
#include "saver/leaf_scene.h"

namespace kovaren::saver {
namespace {

const SpriteSet& Sprites() {
  static const SpriteSet sprites = art::DrawLeafSprites();
  return sprites;
}

// A background with a different value in every pixel, so a misplaced copy shows.
PixelBuffer Pattern(int w, int h) {
  PixelBuffer p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.set(x, y, Rgb(static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 5), 0x5A));
  return p;
}

TEST(CompositeLeaf, DrawsTheSilhouetteOpaqueAndClipsAtEveryEdge) {
  const int w = 50, h = 40;
  const PixelBuffer background = Pattern(w, h);
  struct Case {
    int px, py;
  } cases[] = {{9, 4}, {0, -10}, {-31, 3}, {w - 1, h - 1}, {-32, 0}, {w, 0}, {10, h}, {10, -32}, {-20, -20}, {30, 20}};
  for (const Case& c : cases) {
    for (int colour = 0; colour < kLeafColours; ++colour) {
      const LeafDraw draw{c.px, c.py, (c.px + 40) % kLeafFrames, colour};
      PixelBuffer frame = background;
      CompositeLeaf(frame, Sprites(), draw, frame.bounds());
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const int sx = x - c.px, sy = y - c.py;
          const bool inLeaf = sx >= 0 && sy >= 0 && sx < kLeafSize && sy < kLeafSize &&
                              Sprites().masks[draw.frame].at(sx, sy) == kMaskInside;
          ASSERT_EQ(frame.at(x, y), inLeaf ? kLeafColourValues[colour] : background.at(x, y))
              << "leaf at (" << c.px << ", " << c.py << "), pixel (" << x << ", " << y << ")";
        }
      }
    }
  }
}

TEST(CompositeLeaf, LeavesEverythingOutsideTheClipAlone) {
  const PixelBuffer background = Pattern(40, 40);
  PixelBuffer frame = background;
  const Rect clip{10, 12, 9, 7};
  CompositeLeaf(frame, Sprites(), {4, 4, 16, 0}, clip);
  PixelBuffer whole = background;
  CompositeLeaf(whole, Sprites(), {4, 4, 16, 0}, whole.bounds());
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool inClip = x >= clip.x && x < clip.right() && y >= clip.y && y < clip.bottom();
      ASSERT_EQ(frame.at(x, y), inClip ? whole.at(x, y) : background.at(x, y)) << x << ", " << y;
    }
}

bool Covered(std::span<const Rect> rects, int x, int y) {
  for (const Rect& r : rects)
    if (x >= r.x && x < r.right() && y >= r.y && y < r.bottom()) return true;
  return false;
}

// The core property: after every pass the incrementally updated frame equals the rebuilt one, and
// every pixel that changed since the last pass lies inside a reported rectangle (so presenting only
// those rectangles shows the whole new frame). The rectangles never overlap, so no pixel is
// presented twice.
TEST(LeafScene, DirtyPassesMatchTheFullFrameAfterEveryPass) {
  struct Case {
    int w, h, leafCount, passes;
    uint64_t seed;
  } cases[] = {
      {64, 48, 40, 600, 1},       // narrower than the sway: leaves cross both side edges
      {200, 90, 150, 900, 2},     // crowded: heavy overlaps
      {333, 121, 60, 1200, 3},    // odd sizes
      {640, 200, 300, 700, 4},
      {1024, 160, 500, 500, 5},
      {96, 300, 0, 1500, 6},      // a single leaf
      {130, 70, 200, 600, 7},     // boxes straddle 64-pixel mask words and both side edges
  };
  for (const Case& c : cases) {
    LeafScene dirty(Pattern(c.w, c.h), Sprites(), c.leafCount, std::make_unique<SeededRandom>(c.seed));
    LeafScene full(Pattern(c.w, c.h), Sprites(), c.leafCount, std::make_unique<SeededRandom>(c.seed));
    PixelBuffer before = dirty.frame();
    int mostShown = 0;
    for (int pass = 0; pass < c.passes; ++pass) {
      const auto rects = dirty.RunPass();
      full.RunFullFramePass();
      ASSERT_EQ(dirty.shownCount(), full.shownCount());
      mostShown = std::max(mostShown, dirty.shownCount());
      for (const Rect& r : rects) {
        ASSERT_FALSE(r.empty());
        ASSERT_EQ(Intersect(r, dirty.frame().bounds()), r) << "rectangles lie inside the frame";
      }
      for (size_t i = 0; i < rects.size(); ++i)
        for (size_t j = i + 1; j < rects.size(); ++j)
          ASSERT_TRUE(Intersect(rects[i], rects[j]).empty()) << "rectangles overlap, pass " << pass;
      if (dirty.frame() != full.frame()) {
        FAIL() << c.w << "x" << c.h << " with " << c.leafCount + 1 << " leaves: frames differ after pass " << pass;
      }
      for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x)
          if (dirty.frame().at(x, y) != before.at(x, y) && !Covered(rects, x, y))
            FAIL() << "pixel (" << x << ", " << y << ") changed outside the reported rectangles, pass " << pass;
      before = dirty.frame();
    }
    EXPECT_GT(mostShown, 0) << "the run must show leaves to test anything";
  }
}

// Sprites that break the rules (soft masks, stray colours) are drawn by the raw raster operations;
// the incremental passes must still equal the rebuilt frames.
TEST(LeafScene, UnsoundSpritesStillMatchTheFullFrame) {
  SpriteSet odd = Sprites();
  for (int f = 0; f < kLeafFrames; ++f)
    for (int i = 0; i < kLeafSize; ++i) {
      odd.masks[f].set(i, i, Rgb(0x7F, 0x3C, 0xF0));
      odd.colours[1][f].set(31 - i, i, Rgb(0x11, 0x22, 0x33));
    }
  ASSERT_FALSE(CheckSpriteSet(odd).empty());
  LeafScene dirty(Pattern(260, 100), odd, 120, std::make_unique<SeededRandom>(11));
  LeafScene full(Pattern(260, 100), odd, 120, std::make_unique<SeededRandom>(11));
  for (int pass = 0; pass < 700; ++pass) {
    dirty.RunPass();
    full.RunFullFramePass();
    ASSERT_EQ(dirty.frame(), full.frame()) << "pass " << pass;
  }
}

TEST(LeafScene, MixingBothKindsOfPassKeepsTheFrameRight) {
  LeafScene mixed(Pattern(300, 120), Sprites(), 80, std::make_unique<SeededRandom>(9));
  LeafScene full(Pattern(300, 120), Sprites(), 80, std::make_unique<SeededRandom>(9));
  for (int pass = 0; pass < 800; ++pass) {
    if (pass % 7 == 3) mixed.RunFullFramePass(); else mixed.RunPass();
    full.RunFullFramePass();
    ASSERT_EQ(mixed.frame(), full.frame()) << "pass " << pass;
  }
}

TEST(LeafScene, NegativeCountShowsTheBareSnapshot) {
  LeafScene scene(Pattern(80, 60), Sprites(), -1, std::make_unique<SeededRandom>(1));
  EXPECT_TRUE(scene.leaves().empty());
  for (int pass = 0; pass < 50; ++pass) EXPECT_TRUE(scene.RunPass().empty());
  EXPECT_EQ(scene.frame(), scene.snapshot());
}

TEST(LeafScene, StartsAsTheBareSnapshotUntilTheFirstLeafRespawns) {
  LeafScene scene(Pattern(400, 300), Sprites(), 100, std::make_unique<SeededRandom>(3));
  int pass = 0;
  while (scene.shownCount() == 0 && pass < 2000) {
    ASSERT_EQ(scene.frame(), scene.snapshot()) << "pass " << pass;
    scene.RunPass();
    ++pass;
  }
  ASSERT_EQ(scene.shownCount(), 1) << "one leaf at a time reaches the bottom";
  bool atTop = false;
  for (const Leaf& leaf : scene.leaves()) atTop |= leaf.shown == 1.0f && leaf.y == kRespawnY;
  EXPECT_TRUE(atTop);
}

}  // namespace
}  // namespace kovaren::saver
