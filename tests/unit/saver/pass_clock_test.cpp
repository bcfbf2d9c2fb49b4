// The saver's pacing: passes at the reference rate whatever the readings look like, a bounded
// catch-up after stalls, and waits that neither spin nor oversleep.
#include "saver/pass_clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kovaren::saver {
namespace {

constexpr int64_t kQpcLike = 10'000'000;  // 100 ns ticks: not a multiple of the pass rate
constexpr int64_t kMicro = 1'000'000;

TEST(PassClock, FirstPassIsDueAtOnceThenOnePassPerPeriod) {
  PassClock clock(600, 0);  // 10 ticks per pass
  struct Step {
    int64_t now;
    int passes;
  };
  const std::vector<Step> steps = {
      {0, 1},   {0, 0},  {9, 0},  {10, 1}, {19, 0},  {25, 1},
      {30, 1},  // the 5 ticks left over at 25 are kept, not lost
      {30, 0},  {41, 1},
  };
  for (const Step& s : steps) EXPECT_EQ(clock.TakeDuePasses(s.now), s.passes) << "at " << s.now;
}

TEST(PassClock, KeepsTheReferenceRateOverIrregularReadings) {
  struct Case {
    int64_t frequency;
    std::vector<int64_t> gaps;  // repeated until ten seconds have passed
  };
  const std::vector<Case> cases = {
      {kQpcLike, {10'000}},                  // polled every millisecond
      {kQpcLike, {166'667}},                 // about once a pass
      {kQpcLike, {30'000, 250'000, 70'000}}, // jittery
      {kMicro, {1, 3, 16'000, 17'000}},
      {1'000, {33}},                         // a coarse clock, two passes per reading
  };
  for (const Case& c : cases) {
    PassClock clock(c.frequency, 0);
    int64_t now = 0;
    int total = clock.TakeDuePasses(0);
    size_t i = 0;
    while (now < 10 * c.frequency) {
      now += c.gaps[i++ % c.gaps.size()];
      total += clock.TakeDuePasses(now);
    }
    // 600 passes in ten seconds, plus the one due at start, give or take the last partial period.
    const int64_t expected = 1 + now * kPassesPerSecond / c.frequency;
    EXPECT_NEAR(total, expected, 1) << "frequency " << c.frequency;
  }
}

TEST(PassClock, ShortGapsCatchUpStallsRunOnePassThenResumeTheRate) {
  struct Case {
    int64_t stallTicks;
    int passesAfterStall;
  };
  const std::vector<Case> cases = {
      {3 * kQpcLike / 60, 3},                  // three periods late: all caught up
      {(kMaxCatchUpPasses * kQpcLike + 59) / 60, kMaxCatchUpPasses},  // the longest gap caught up
      {(kMaxCatchUpPasses + 2) * kQpcLike / 60, 1},  // a stall: no catch-up, no jump ahead
      {kQpcLike, 1},                           // a second
      {10 * kQpcLike, 1},                      // ten seconds frozen (SIGSTOP)
      {3600 * kQpcLike, 1},                    // an hour (a suspended machine)
      {INT64_MAX / 2, 1},                      // a wild reading must not overflow
  };
  for (const Case& c : cases) {
    PassClock clock(kQpcLike, 0);
    ASSERT_EQ(clock.TakeDuePasses(0), 1);
    EXPECT_EQ(clock.TakeDuePasses(c.stallTicks), c.passesAfterStall) << c.stallTicks;
    // The dropped debt is gone: the next pass comes one period later, not in a burst.
    EXPECT_EQ(clock.TakeDuePasses(c.stallTicks), 0);
    EXPECT_EQ(clock.TakeDuePasses(c.stallTicks + kQpcLike / 60 + 1), 1);
  }
}

TEST(PassClock, AClockSteppingBackCountsAsNoTime) {
  PassClock clock(600, 1000);
  ASSERT_EQ(clock.TakeDuePasses(1000), 1);
  EXPECT_EQ(clock.TakeDuePasses(500), 0);
  EXPECT_EQ(clock.TakeDuePasses(1009), 0);  // still measured from 1000, not from 500
  EXPECT_EQ(clock.TakeDuePasses(1010), 1);
}

TEST(PassClock, WaitsRoundUpSoASleepingLoopNeverSpinsOrFallsBehind) {
  // The shell's loop: run what is due, sleep what it says. Sleeping the returned time must always
  // make a pass due (no wake-up without work), and the rate must still come out at 60.
  for (const int64_t frequency : {int64_t{600}, kMicro, kQpcLike, int64_t{3'579'545}}) {
    PassClock clock(frequency, 0);
    int64_t now = 0;
    int passes = 0;
    int wakeUpsWithoutPass = 0;
    while (now < 5 * frequency) {
      const int ran = clock.TakeDuePasses(now);
      passes += ran;
      if (ran == 0) ++wakeUpsWithoutPass;
      const uint32_t wait = clock.MillisecondsUntilNextPass(now);
      ASSERT_GT(wait, 0u) << "a pass was taken, so the next one lies ahead";
      ASSERT_LE(wait, 17u);
      now += static_cast<int64_t>(wait) * frequency / 1000;
    }
    EXPECT_EQ(wakeUpsWithoutPass, 0) << frequency;
    // Rounding waits up to whole milliseconds may cost a little, never more than a pass a second.
    EXPECT_GE(passes, 5 * kPassesPerSecond - 5) << frequency;
    EXPECT_LE(passes, 5 * kPassesPerSecond + 1) << frequency;
  }
}

TEST(PassClock, WaitIsZeroWhilePassesAreDue) {
  PassClock clock(kQpcLike, 0);
  EXPECT_EQ(clock.MillisecondsUntilNextPass(0), 0u);  // the first pass is due at once
  clock.TakeDuePasses(0);
  EXPECT_EQ(clock.MillisecondsUntilNextPass(0), 17u);               // 16.67 ms rounded up
  EXPECT_EQ(clock.MillisecondsUntilNextPass(kQpcLike / 100), 7u);   // 10 ms later: 6.67 left
  EXPECT_EQ(clock.MillisecondsUntilNextPass(kQpcLike), 0u);         // overdue
}

}  // namespace
}  // namespace kovaren::saver
