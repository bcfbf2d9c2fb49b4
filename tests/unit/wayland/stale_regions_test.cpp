// What each buffer of a surface lacks: a buffer taken again must get everything that changed since
// it was last taken, however many passes that was, and never less than the frame's changes.
#include <gtest/gtest.h>

#include <vector>

#include "saver/stale_regions_wayland.h"

namespace kovaren::wayland {
namespace {

constexpr Rect kFrame{0, 0, 200, 100};

// Every pixel of `want` is covered by one of `got`.
bool Covers(const std::vector<Rect>& got, const Rect& want) {
  for (int y = want.y; y < want.bottom(); ++y)
    for (int x = want.x; x < want.right(); ++x) {
      bool covered = false;
      for (const Rect& r : got) covered = covered || (x >= r.x && y >= r.y && x < r.right() && y < r.bottom());
      if (!covered) return false;
    }
  return true;
}

long long Area(const std::vector<Rect>& rects) {
  long long area = 0;
  for (const Rect& r : rects) area += static_cast<long long>(r.w) * r.h;
  return area;
}

TEST(StaleRegions, EveryBufferStartsWhollyStale) {
  StaleRegions stale(3, kFrame);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(stale.Take(i), std::vector<Rect>{kFrame}) << i;
  EXPECT_TRUE(stale.Take(0).empty());  // taken: up to date until the next change
}

TEST(StaleRegions, ABufferGetsEverythingSinceItWasLastTaken) {
  StaleRegions stale(3, kFrame);
  for (int i = 0; i < 3; ++i) stale.Take(i);
  const Rect passes[] = {{10, 10, 8, 8}, {50, 20, 8, 8}, {120, 60, 8, 8}};
  // Buffer 0 is taken after every pass, buffer 1 after the last only, buffer 2 never.
  for (const Rect& r : passes) {
    stale.Changed(std::span(&r, 1));
    EXPECT_EQ(stale.Take(0), std::vector<Rect>{r});
  }
  const std::vector<Rect> one = stale.Take(1);
  for (const Rect& r : passes) EXPECT_TRUE(Covers(one, r)) << r.x;
  EXPECT_EQ(Area(one), 3 * 64);  // nothing more than what changed
  stale.ChangedAll();
  EXPECT_EQ(stale.Take(2), std::vector<Rect>{kFrame});
}

TEST(StaleRegions, ClipsToTheFrameAndDropsWhatLiesOutside) {
  StaleRegions stale(1, kFrame);
  stale.Take(0);
  const Rect changed[] = {{-4, -4, 8, 8}, {196, 96, 10, 10}, {300, 10, 5, 5}};
  stale.Changed(changed);
  EXPECT_EQ(stale.Take(0), (std::vector<Rect>{{0, 0, 4, 4}, {196, 96, 4, 4}}));
}

TEST(StaleRegions, ABufferHeldLongBecomesTheWholeFrameNotAnEndlessList) {
  StaleRegions stale(2, kFrame);
  stale.Take(0);
  stale.Take(1);
  const Rect leaf{5, 5, 3, 3};
  for (size_t i = 0; i <= kMaxStaleRects; ++i) {
    stale.Changed(std::span(&leaf, 1));
    if (i % 2 == 0) stale.Take(0);  // buffer 0 keeps up, buffer 1 is held by the compositor
  }
  EXPECT_EQ(stale.Take(1), std::vector<Rect>{kFrame});
  stale.Changed(std::span(&leaf, 1));
  EXPECT_EQ(stale.Take(0), std::vector<Rect>{leaf});  // the buffer that kept up still gets just the leaf
}

}  // namespace
}  // namespace kovaren::wayland
