// Paces the saver's passes at a fixed reference rate. The shell feeds it readings of a
// high-resolution clock; the clock never reads time itself and never sleeps, so tests drive it with
// made-up readings. Every motion constant of the leaves is per pass, so a fixed pass rate gives the
// same speed on screen on every machine.
#pragma once
#include <cstdint>

namespace kovaren::saver {

constexpr int kPassesPerSecond = 60;  // reference rate: the leaves' per-pass constants assume it
constexpr int kMaxCatchUpPasses = 4;  // after a stall run at most this many passes at once, drop the rest

class PassClock {
 public:
  // `ticksPerSecond` > 0 is the clock's frequency; `startTicks` the reading when the loop starts.
  // The first pass is due at once.
  PassClock(int64_t ticksPerSecond, int64_t startTicks);

  // How many passes to run now, 0..kMaxCatchUpPasses; they count as run. Time owed beyond the
  // catch-up limit is forgotten, so a long stall never turns into a burst. A reading earlier than the
  // last one (a clock that stepped back) counts as no time passed.
  int TakeDuePasses(int64_t nowTicks);

  // Whole milliseconds to wait from `nowTicks` until the next pass is due, rounded up; 0 when a pass
  // is due already. Does not change the clock.
  uint32_t MillisecondsUntilNextPass(int64_t nowTicks) const;

  // Starts pacing again from `nowTicks` after a pause (nobody could see the screen): the pause owes
  // no passes, and the first pass is due at once, so the leaves go on where they stopped.
  void Restart(int64_t nowTicks);

 private:
  // Time owed to passes, in units of 1/kPassesPerSecond tick: one pass costs ticksPerSecond_ units.
  // Kept in integers so pacing never drifts, however long the saver runs.
  int64_t OwedAt(int64_t nowTicks) const;

  int64_t ticksPerSecond_;
  int64_t lastTicks_;
  int64_t owed_;
};

}  // namespace kovaren::saver
