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
  for (int i = 0; i < 3; ++i) EXPECT_EQ(stale.Take(i).copy, std::vector<Rect>{kFrame}) << i;
  EXPECT_TRUE(stale.Take(0).copy.empty());  // taken: up to date until the next change
}

TEST(StaleRegions, ABufferGetsEverythingSinceItWasLastTaken) {
  StaleRegions stale(3, kFrame);
  for (int i = 0; i < 3; ++i) stale.Take(i);
  const Rect passes[] = {{10, 10, 8, 8}, {50, 20, 8, 8}, {120, 60, 8, 8}};
  // Buffer 0 is taken after every pass, buffer 1 after the last only, buffer 2 never.
  for (const Rect& r : passes) {
    stale.Changed(std::span(&r, 1));
    EXPECT_EQ(stale.Take(0).copy, std::vector<Rect>{r});
  }
  const std::vector<Rect> one = stale.Take(1).copy;
  for (const Rect& r : passes) EXPECT_TRUE(Covers(one, r)) << r.x;
  EXPECT_EQ(Area(one), 3 * 64);  // nothing more than what changed
  stale.ChangedAll();
  EXPECT_EQ(stale.Take(2).copy, std::vector<Rect>{kFrame});
}

// The damage says how the committed buffer differs from the one shown before it, whichever buffer
// that was: the first commit all of it, then what changed since the last commit, passes run while
// no buffer was free included.
TEST(StaleRegions, DamageIsWhatChangedSinceTheLastCommit) {
  StaleRegions stale(3, kFrame);
  EXPECT_EQ(stale.Take(0).damage, std::vector<Rect>{kFrame});
  const Rect a{10, 10, 8, 8}, b{60, 10, 8, 8}, c{100, 50, 8, 8};
  stale.Changed(std::span(&a, 1));
  const StaleRegions::Update first = stale.Take(1);
  EXPECT_EQ(first.copy, std::vector<Rect>{kFrame});  // never written before
  EXPECT_EQ(first.damage, std::vector<Rect>{a});
  stale.Changed(std::span(&b, 1));
  stale.Changed(std::span(&c, 1));  // two passes before the next commit
  const StaleRegions::Update second = stale.Take(0);
  EXPECT_EQ(second.copy, (std::vector<Rect>{a, b, c}));  // buffer 0 was last written before a
  EXPECT_EQ(second.damage, (std::vector<Rect>{b, c}));
  EXPECT_TRUE(stale.Take(1).damage.empty());  // nothing changed: an empty damage
  stale.ChangedAll();
  EXPECT_EQ(stale.Take(2).damage, std::vector<Rect>{kFrame});
}

// A pass of many scattered leaves: the buffer copies and the compositor repaints just their boxes,
// not a coarser cover of them.
TEST(StaleRegions, ManyRectanglesComeBackAsTheyAre) {
  StaleRegions stale(2, kFrame);
  stale.Take(0);
  stale.Take(1);
  std::vector<Rect> leaves;
  for (int i = 0; i < 150; ++i) leaves.push_back({(i * 37) % 190, (i * 23) % 90, 3, 3});
  stale.Changed(leaves);
  const StaleRegions::Update update = stale.Take(0);
  EXPECT_EQ(update.copy, leaves);
  EXPECT_EQ(update.damage, leaves);
}

TEST(StaleRegions, ClipsToTheFrameAndDropsWhatLiesOutside) {
  StaleRegions stale(1, kFrame);
  stale.Take(0);
  const Rect changed[] = {{-4, -4, 8, 8}, {196, 96, 10, 10}, {300, 10, 5, 5}};
  stale.Changed(changed);
  EXPECT_EQ(stale.Take(0).copy, (std::vector<Rect>{{0, 0, 4, 4}, {196, 96, 4, 4}}));
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
  EXPECT_EQ(stale.Take(1).copy, std::vector<Rect>{kFrame});
  stale.Changed(std::span(&leaf, 1));
  EXPECT_EQ(stale.Take(0).copy, std::vector<Rect>{leaf});  // the buffer that kept up still gets just the leaf
}

}  // namespace
}  // namespace kovaren::wayland
