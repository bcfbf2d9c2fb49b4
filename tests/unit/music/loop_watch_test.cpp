// When a looping song stops for good: only after loops in a row that end as they start.
#include <gtest/gtest.h>

#include <vector>

#include "music/loop_watch.h"

namespace kovaren::music {
namespace {

struct Case {
  const char* what;
  std::vector<int64_t> playedMs;  // each loop's length, in order
  std::vector<bool> keeps;        // KeepLooping's answer after each
};

TEST(LoopWatch, StopsOnlyAfterLoopsInARowThatEndAsTheyStart) {
  constexpr int64_t kEmpty = kShortestLoopMs - 1;
  constexpr int64_t kSong = 3000;
  const std::vector<Case> cases = {
      {"a song loops for ever", {kSong, kSong, kSong, kSong}, {true, true, true, true}},
      {"exactly the shortest loop is a loop", {kShortestLoopMs, kShortestLoopMs, kShortestLoopMs, kShortestLoopMs},
       {true, true, true, true}},
      {"broken from the start", {0, 0, 0}, {true, true, false}},
      {"broken while it plays", {kSong, kSong, kEmpty, kEmpty, kEmpty}, {true, true, true, true, false}},
      {"a stray short loop is forgiven", {kSong, kEmpty, kSong, kEmpty, kEmpty, kSong}, {true, true, true, true, true, true}},
      {"short loops count again after a real one", {kEmpty, kEmpty, kSong, kEmpty, kEmpty, kEmpty},
       {true, true, true, true, true, false}},
  };
  for (const Case& c : cases) {
    LoopWatch watch;
    ASSERT_EQ(c.playedMs.size(), c.keeps.size()) << c.what;
    for (size_t i = 0; i < c.playedMs.size(); ++i)
      EXPECT_EQ(watch.KeepLooping(c.playedMs[i]), c.keeps[i]) << c.what << ", loop " << i;
  }
}

}  // namespace
}  // namespace kovaren::music
