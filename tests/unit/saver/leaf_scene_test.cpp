// The compositor: one leaf drawn opaque and clipped at every edge, and the dirty-rectangle passes
// matching the whole-frame rebuild pixel for pixel, with every changed pixel inside a reported box, at
// every scale; a magnified scene is the 1x scene magnified.
#include <gtest/gtest.h>

#include <vector>

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
    int scale = 1;
  } cases[] = {
      {64, 48, 40, 600, 1},       // narrower than the sway: leaves cross both side edges
      {200, 90, 150, 900, 2},     // crowded: heavy overlaps
      {333, 121, 60, 1200, 3},    // odd sizes
      {640, 200, 300, 700, 4},
      {1024, 160, 500, 500, 5},
      {96, 300, 0, 1500, 6},      // a single leaf
      {130, 70, 200, 600, 7},     // boxes straddle 64-pixel mask words and both side edges
      // Magnified: boxes of 64..128 pixels span two or three mask words; sizes that are not a
      // multiple of the scale leave a strip at the right and bottom that leaves reach into.
      {260, 180, 150, 500, 8, 2},
      {401, 183, 120, 400, 9, 3},
      {515, 250, 200, 300, 10, 4},
      {130, 98, 40, 400, 11, 2},
  };
  for (const Case& c : cases) {
    LeafScene dirty(Pattern(c.w, c.h), Sprites(), c.leafCount, std::make_unique<SeededRandom>(c.seed), c.scale);
    LeafScene full(Pattern(c.w, c.h), Sprites(), c.leafCount, std::make_unique<SeededRandom>(c.seed), c.scale);
    PixelBuffer before(dirty.frame());
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
        FAIL() << c.w << "x" << c.h << " at scale " << c.scale << " with " << c.leafCount + 1
               << " leaves: frames differ after pass " << pass;
      }
      for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x)
          if (dirty.frame().at(x, y) != before.at(x, y) && !Covered(rects, x, y))
            FAIL() << "pixel (" << x << ", " << y << ") changed outside the reported rectangles, pass " << pass;
      before = PixelBuffer(dirty.frame());
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

// A leaf drawn at scale s is the 1x leaf with every pixel an s x s block, clipped at every edge.
TEST(CompositeLeaf, MagnifiedIsTheOneTimesLeafMagnified) {
  const int w = 40, h = 30;
  const PixelBuffer logical = Pattern(w, h);
  for (int scale = 1; scale <= 4; ++scale) {
    PixelBuffer background(w * scale, h * scale);
    StretchBlit(background, background.bounds(), logical, logical.bounds());
    for (const LeafDraw draw : {LeafDraw{3, 2, 7, 0}, LeafDraw{-20, -9, 4, 1}, LeafDraw{30, 20, 16, 2}}) {
      PixelBuffer one = logical;
      CompositeLeaf(one, Sprites(), draw, one.bounds());
      PixelBuffer expected(w * scale, h * scale);
      StretchBlit(expected, expected.bounds(), one, one.bounds());
      PixelBuffer magnified = background;
      CompositeLeaf(magnified, Sprites(), draw, magnified.bounds(), scale);
      ASSERT_EQ(magnified, expected) << "scale " << scale << ", leaf at " << draw.px << ", " << draw.py;
    }
  }
}

// The magnified scene against a reference built the plain way: the 1x scene of the logical size, its
// frame magnified nearest-neighbour. Same seed, same leaves, same frames pass for pass; the strip a
// size not divisible by the scale leaves at the right and bottom is left out of the comparison.
TEST(LeafScene, MagnifiedFramesAreTheOneTimesFramesMagnified) {
  struct Case {
    int w, h, leafCount, passes;
    uint64_t seed;
  } cases[] = {
      {120, 80, 60, 500, 21},
      {97, 61, 150, 400, 22},  // crowded and odd: both sides clip, strips at right and bottom
      {300, 40, 30, 300, 23},  // short: many respawns at the top edge
  };
  for (const Case& c : cases) {
    for (int scale = 1; scale <= 4; ++scale) {
      const PixelBuffer logical = Pattern(c.w / scale, c.h / scale);
      PixelBuffer physical = Pattern(c.w, c.h);  // the strips keep their own pixels
      StretchBlit(physical, {0, 0, logical.width() * scale, logical.height() * scale}, logical, logical.bounds());
      LeafScene reference(logical, Sprites(), c.leafCount, std::make_unique<SeededRandom>(c.seed));
      LeafScene scene(physical, Sprites(), c.leafCount, std::make_unique<SeededRandom>(c.seed), scale);
      ASSERT_EQ(scene.logicalWidth(), logical.width());
      ASSERT_EQ(scene.logicalHeight(), logical.height());
      PixelBuffer expected(logical.width() * scale, logical.height() * scale);
      PixelBuffer cropped(expected.width(), expected.height());
      int mostShown = 0;
      for (int pass = 0; pass < c.passes; ++pass) {
        reference.RunPass();
        scene.RunPass();
        ASSERT_EQ(scene.shownCount(), reference.shownCount());
        mostShown = std::max(mostShown, scene.shownCount());
        if (pass % 5 != 0 && pass != c.passes - 1) continue;  // every pass would only slow the test
        StretchBlit(expected, expected.bounds(), reference.frame(), reference.frame().bounds());
        Blit(cropped, 0, 0, scene.frame(), RasterOp::Copy);
        ASSERT_EQ(cropped, expected) << c.w << "x" << c.h << " at scale " << scale << ", pass " << pass;
      }
      EXPECT_GT(mostShown, 0);
    }
  }
}

TEST(LeafScene, ScaleIsClampedToARangeAndToTheFrame) {
  const struct {
    int w, h, scale, expected;
  } cases[] = {{100, 100, 0, 1}, {100, 100, -3, 1}, {100, 100, 9, 8}, {100, 100, 10000, 8}, {5, 3, 8, 3}, {1, 40, 2, 1}};
  for (const auto& c : cases) {
    LeafScene scene(Pattern(c.w, c.h), Sprites(), 20, std::make_unique<SeededRandom>(1), c.scale);
    EXPECT_EQ(scene.scale(), c.expected) << c.w << "x" << c.h << " asked " << c.scale;
    for (int pass = 0; pass < 300; ++pass) scene.RunPass();  // leaves in a one-pixel world: no fault
    LeafScene empty(PixelBuffer{}, Sprites(), 20, std::make_unique<SeededRandom>(1), c.scale);
    EXPECT_TRUE(empty.RunPass().empty());
  }
}

// Rows of one colour are restored by a fill: bands of plain rows between patterned ones, and rows
// plain but for their first or last pixel, which must be restored as they are.
PixelBuffer Bands(int w, int h) {
  PixelBuffer p = Pattern(w, h);
  for (int y = 0; y < h; ++y) {
    if (y % 5 == 0) continue;
    const Pixel plain = y % 10 < 5 ? Rgb(0x30, 0x60, 0xA0) : Rgb(0x10, 0x10, 0x10);
    for (int x = 0; x < w; ++x) p.set(x, y, plain);
    if (y % 5 == 1) p.set(w - 1, y, Rgb(0x31, 0x60, 0xA0));
    if (y % 5 == 2) p.set(0, y, Rgb(0x10, 0x10, 0x11));
  }
  return p;
}

TEST(LeafScene, PlainRowsMatchTheFullFrame) {
  for (const int scale : {1, 2}) {
    LeafScene dirty(Bands(210, 130), Sprites(), 150, std::make_unique<SeededRandom>(31), scale);
    LeafScene full(Bands(210, 130), Sprites(), 150, std::make_unique<SeededRandom>(31), scale);
    for (int pass = 0; pass < 900; ++pass) {
      dirty.RunPass();
      full.RunFullFramePass();
      ASSERT_EQ(dirty.frame(), full.frame()) << "scale " << scale << ", pass " << pass;
    }
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

// The box around the pixels a lone leaf shows (the pattern's blue never matches a leaf's).
Rect ShownBox(ConstPixelView frame, const PixelBuffer& snapshot) {
  Rect box;
  for (int y = 0; y < frame.height(); ++y)
    for (int x = 0; x < frame.width(); ++x)
      if (frame.at(x, y) != snapshot.at(x, y)) box = Union(box, Rect{x, y, 1, 1});
  return box;
}

// A moved leaf restores and reports only the union of its old and new silhouettes' boxes, not its
// 32 x 32 sprite squares: every reported rectangle lies inside it (checked while the leaf stays clear
// of the frame's edges, where the clipped silhouette is smaller than its box).
TEST(LeafScene, ALoneLeafReportsOnlyItsSilhouettesBoxes) {
  for (const int scale : {1, 2}) {
    LeafScene scene(Pattern(120 * scale, 200 * scale), Sprites(), 0, std::make_unique<SeededRandom>(21), scale);
    const Rect inner{1, 1, scene.width() - 2, scene.height() - 2};
    Rect before = ShownBox(scene.frame(), scene.snapshot());
    long long reported = 0, squares = 0;
    for (int pass = 0; pass < 3000; ++pass) {
      const auto rects = scene.RunPass();
      const Rect after = ShownBox(scene.frame(), scene.snapshot());
      const bool clear = (before.empty() || Intersect(before, inner) == before) && !after.empty() &&
                         Intersect(after, inner) == after;
      if (clear && !before.empty()) {
        const Rect both = Union(before, after);
        for (const Rect& r : rects) {
          ASSERT_EQ(Intersect(r, both), r) << "scale " << scale << ", pass " << pass << ": reported beyond the silhouettes";
          reported += static_cast<long long>(r.w) * r.h;
        }
        squares += 2LL * kLeafSize * kLeafSize * scale * scale;
      }
      before = after;
    }
    ASSERT_GT(squares, 0) << "the leaf must be seen moving";
    EXPECT_LT(reported * 10, squares * 7) << "scale " << scale << ": tight boxes report well under two squares a move";
  }
}

// A screen's worth of leaves at the counts the settings offer most: the frame after every pass equals
// the one rebuilt from scratch, with the leaves crowding and overlapping as they do live.
TEST(LeafScene, FullScreenPassesMatchTheRebuiltFrame) {
  for (const int leafCount : {100, 500}) {
    LeafScene dirty(Pattern(1920, 1080), Sprites(), leafCount, std::make_unique<SeededRandom>(27));
    LeafScene full(Pattern(1920, 1080), Sprites(), leafCount, std::make_unique<SeededRandom>(27));
    int mostShown = 0;
    for (int pass = 0; pass < 2400; ++pass) {
      dirty.RunPass();
      if (pass % 97 != 0 && pass < 2399) {
        full.RunPass();  // keeps the leaves in step; only the checked passes are rebuilt
        continue;
      }
      full.RunFullFramePass();
      mostShown = std::max(mostShown, dirty.shownCount());
      ASSERT_EQ(dirty.frame(), full.frame()) << leafCount + 1 << " leaves, pass " << pass;
    }
    EXPECT_GT(mostShown, leafCount / 2) << "most leaves must be on the screen";
  }
}

// Storage outside the scene, rows padded as a shared image's may be: a scene moved into it mid-run,
// and back out later, keeps drawing what the rebuilt frame shows, draws there and nowhere else, and
// never writes the padding.
TEST(LeafScene, DrawingIntoOutsideStorageMatchesTheRebuiltFrame) {
  constexpr int kWidth = 1920, kHeight = 1080, kPad = 16, kInto = 300, kBack = 1500, kPasses = 1900;
  constexpr Pixel kGuard = 0xDEADBEEF;
  for (const int leafCount : {100, 500}) {
    std::vector<Pixel> storage(static_cast<size_t>(kWidth + kPad) * kHeight, kGuard);
    const PixelView view(storage.data(), kWidth, kHeight, kWidth + kPad);
    LeafScene drawn(Pattern(kWidth, kHeight), Sprites(), leafCount, std::make_unique<SeededRandom>(29));
    LeafScene full(Pattern(kWidth, kHeight), Sprites(), leafCount, std::make_unique<SeededRandom>(29));
    EXPECT_FALSE(drawn.DrawInto(PixelView(storage.data(), kWidth - 1, kHeight, kWidth + kPad))) << "another size";
    for (int pass = 0; pass < kPasses; ++pass) {
      if (pass == kInto) {
        ASSERT_TRUE(drawn.DrawInto(view));
      }
      if (pass == kBack) {
        ASSERT_TRUE(drawn.DrawInto({}));
      }
      const bool inStorage = pass >= kInto && pass < kBack;
      ASSERT_EQ(drawn.frame().row(0) == storage.data(), inStorage) << "pass " << pass;
      drawn.RunPass();
      const bool checked = pass % 89 == 0 || pass == kInto || pass == kBack || pass == kPasses - 1;
      if (!checked) {
        full.RunPass();
        continue;
      }
      full.RunFullFramePass();
      ASSERT_EQ(drawn.frame(), full.frame()) << leafCount + 1 << " leaves, pass " << pass;
    }
    for (int y = 0; y < kHeight; ++y)
      for (int x = kWidth; x < kWidth + kPad; ++x)
        ASSERT_EQ(storage[static_cast<size_t>(y) * (kWidth + kPad) + x], kGuard) << "padding at " << x << ", " << y;
  }
}

}  // namespace
}  // namespace kovaren::saver
