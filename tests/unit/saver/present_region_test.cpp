// The clip region of the saver's one transfer per pass: it must cover every changed pixel (a missed one
// stays stale on screen), stay inside the window, and stay small enough to build quickly.
#include "saver/present_region.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace kovaren::saver {
namespace {

// How many output rectangles cover each pixel of `bounds`.
std::vector<int> CoverCount(const std::vector<Rect>& rects, const Rect& bounds) {
  std::vector<int> count(static_cast<size_t>(bounds.w) * bounds.h, 0);
  for (const Rect& r : rects)
    for (int y = r.y; y < r.bottom(); ++y)
      for (int x = r.x; x < r.right(); ++x) ++count[(y - bounds.y) * bounds.w + (x - bounds.x)];
  return count;
}

std::vector<Rect> LeafBoxes(int n, const Rect& bounds, uint32_t seed) {
  std::mt19937 random(seed);
  // Leaf boxes reach 32 pixels past every edge, as leaves entering at the top or swaying out do.
  std::uniform_int_distribution<int> x(bounds.x - 40, bounds.right() + 8), y(bounds.y - 40, bounds.bottom() + 8);
  std::uniform_int_distribution<int> size(1, 34);
  std::vector<Rect> boxes;
  for (int i = 0; i < n; ++i) boxes.push_back({x(random), y(random), size(random), size(random)});
  return boxes;
}

TEST(PresentRegion, CoversEveryDirtyPixelInsideTheWindowAndNeverOverlapsWhenCoarsened) {
  struct Case {
    Rect bounds;
    int boxes;
  };
  const std::vector<Case> cases = {
      {{0, 0, 1024, 768}, 1000},   // 500 leaves: old and new boxes
      {{0, 0, 1024, 768}, 90},     // around the exact limit once boxes outside are dropped
      {{0, 0, 1000, 750}, 300},    // sizes that are not multiples of the cell
      {{0, 0, 31, 33}, 200},       // smaller than one cell across
      {{100, 50, 333, 211}, 400},  // a region that does not start at the origin
  };
  uint32_t seed = 1;
  for (const Case& c : cases) {
    const std::vector<Rect> dirty = LeafBoxes(c.boxes, c.bounds, seed++);
    const std::vector<Rect> cover = PresentRegion(dirty, c.bounds);
    ASSERT_GT(cover.size(), 0u);
    for (const Rect& r : cover) {
      ASSERT_FALSE(r.empty());
      ASSERT_EQ(Intersect(r, c.bounds), r) << "inside the window";
    }
    const std::vector<int> covered = CoverCount(cover, c.bounds);
    for (const Rect& d : dirty) {
      const Rect in = Intersect(d, c.bounds);
      for (int y = in.y; y < in.bottom(); ++y)
        for (int x = in.x; x < in.right(); ++x)
          ASSERT_GT(covered[(y - c.bounds.y) * c.bounds.w + (x - c.bounds.x)], 0) << "(" << x << ", " << y << ")";
    }
    size_t inside = 0;
    for (const Rect& d : dirty) inside += Intersect(d, c.bounds).empty() ? 0 : 1;
    if (inside > kExactRegionRects) {
      for (int n : covered) ASSERT_LE(n, 1) << "coarsened rectangles do not overlap";
    }
    const int cells = ((c.bounds.w + kRegionCell - 1) / kRegionCell) * ((c.bounds.h + kRegionCell - 1) / kRegionCell);
    EXPECT_LE(cover.size(), static_cast<size_t>(cells)) << "never more rectangles than cells";
  }
}

TEST(PresentRegion, FewRectanglesStayExactSoNoExtraPixelsAreCopied) {
  const Rect bounds{0, 0, 640, 480};
  struct Case {
    std::vector<Rect> dirty;
    std::vector<Rect> expected;
  };
  const std::vector<Case> cases = {
      {{}, {}},
      {{{10, 10, 32, 32}}, {{10, 10, 32, 32}}},
      {{{600, -10, 32, 32}, {5, 5, 0, 9}, {700, 0, 32, 32}}, {{600, 0, 32, 22}}},  // clipped; empty and outside dropped
      {{{10, 10, 32, 32}, {11, 10, 32, 32}}, {{10, 10, 32, 32}, {11, 10, 32, 32}}},
  };
  for (const Case& c : cases) EXPECT_EQ(PresentRegion(c.dirty, bounds), c.expected);
}

TEST(PresentRegion, ManyLeavesInOneSpotBecomeOneRectangle) {
  // A crowd of 100 overlapping boxes in one 64 x 64 square of the grid: one transfer area.
  std::vector<Rect> dirty;
  for (int i = 0; i < 100; ++i) dirty.push_back({64 + i % 32, 128 + i % 32, 32, 32});
  EXPECT_EQ(PresentRegion(dirty, {0, 0, 1024, 768}), (std::vector<Rect>{{64, 128, 64, 64}}));
}

// Groups handed over between flushes: every rectangle in exactly one group, inside its bounds, and no
// group's bounds wasting more than allowed; far-apart leaves apart, neighbours together.
TEST(GroupForFlushes, KeepsEachGroupsBoxTight) {
  const Rect screen{0, 0, 1920, 1080};
  const struct {
    const char* name;
    std::vector<Rect> rects;
    size_t groups;
  } cases[] = {
      {"nothing", {}, 0},
      {"two leaves far apart", {{100, 100, 34, 34}, {1500, 900, 34, 34}}, 2},
      {"two leaves touching", {{100, 100, 34, 34}, {134, 100, 34, 34}}, 1},
      {"a column of boxes", {{400, 0, 34, 34}, {400, 40, 34, 34}, {400, 80, 34, 34}, {400, 120, 34, 34}}, 1},
      {"empty rectangles are dropped", {{5, 5, 0, 10}, {9, 9, 10, -1}}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(GroupForFlushes(c.rects, kFlushWastePixels).size(), c.groups) << c.name;

  for (uint32_t seed = 1; seed <= 20; ++seed) {
    std::vector<Rect> rects = PresentRegion(LeafBoxes(static_cast<int>(seed) * 25, screen, seed), screen);
    const auto groups = GroupForFlushes(rects, kFlushWastePixels);
    size_t total = 0;
    for (const PresentGroup& g : groups) {
      long long covered = 0;
      for (const Rect& r : g.rects) {
        EXPECT_EQ(Intersect(r, g.bounds), r) << "seed " << seed;
        covered += static_cast<long long>(r.w) * r.h;
      }
      EXPECT_EQ(covered, g.covered);
      EXPECT_LE(static_cast<long long>(g.bounds.w) * g.bounds.h - covered, kFlushWastePixels) << "seed " << seed;
      total += g.rects.size();
    }
    EXPECT_EQ(total, rects.size()) << "seed " << seed;
  }
}

// Boxes joined for puts: together they cover every pixel of every rectangle, none covers more
// pixels outside the rectangles than allowed, and neighbours in one cell share a box.
TEST(NearbyJoiner, JoinsNeighboursWithinTheWasteAllowed) {
  constexpr int kCell = 64;
  constexpr long long kWaste = 1024;
  const struct {
    const char* name;
    std::vector<Rect> rects;
    std::vector<Rect> boxes;
  } cases[] = {
      {"nothing", {}, {}},
      {"empty rectangles are dropped", {{5, 5, 0, 10}, {9, 9, 10, -1}}, {}},
      {"one leaf's strips", {{100, 100, 30, 4}, {98, 104, 34, 20}, {101, 124, 28, 6}}, {{98, 100, 34, 30}}},
      {"side by side in one cell", {{130, 70, 20, 30}, {150, 70, 24, 30}}, {{130, 70, 44, 30}}},
      {"in two cells", {{10, 10, 30, 30}, {80, 10, 30, 30}}, {{10, 10, 30, 30}, {80, 10, 30, 30}}},
      {"one cell, too far apart", {{0, 0, 10, 10}, {50, 50, 10, 10}}, {{0, 0, 10, 10}, {50, 50, 10, 10}}},
      {"away from the origin", {{-40, -30, 20, 20}, {1900, 1060, 20, 20}}, {{-40, -30, 20, 20}, {1900, 1060, 20, 20}}},
  };
  NearbyJoiner joiner(kCell, kWaste);
  for (const auto& c : cases) {
    const auto boxes = joiner.Join(c.rects);
    EXPECT_EQ(std::vector<Rect>(boxes.begin(), boxes.end()), c.boxes) << c.name;
  }

  // Crowds as the presenter gets them, the joiner reused from one pass to the next.
  const Rect screen{0, 0, 1920, 1080};
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    const std::vector<Rect> rects = PresentRegion(LeafBoxes(static_cast<int>(seed) * 80, screen, seed), screen);
    const auto boxes = joiner.Join(rects);
    const std::vector<int> inRects = CoverCount(rects, screen);
    const std::vector<int> inBoxes = CoverCount(std::vector<Rect>(boxes.begin(), boxes.end()), screen);
    for (size_t i = 0; i < inRects.size(); ++i) {
      ASSERT_TRUE(inRects[i] == 0 || inBoxes[i] > 0) << "seed " << seed << ": pixel " << i << " in no box";
    }
    for (const Rect& box : boxes) {
      long long outside = 0;
      for (int y = box.y; y < box.bottom(); ++y)
        for (int x = box.x; x < box.right(); ++x) outside += inRects[static_cast<size_t>(y) * screen.w + x] == 0;
      EXPECT_LE(outside, kWaste) << "seed " << seed;
    }
    EXPECT_LE(boxes.size(), rects.size()) << "seed " << seed;
    if (rects.size() > 200) {
      EXPECT_LT(boxes.size(), rects.size()) << "seed " << seed << ": a crowd shares boxes";
    }
  }
}

}  // namespace
}  // namespace kovaren::saver
