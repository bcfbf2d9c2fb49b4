// Paces the saver's passes at a fixed reference rate. The shell feeds it readings of a
// high-resolution clock; the clock never reads time itself and never sleeps, so tests drive it with
// made-up readings. Every motion constant of the leaves is per pass, so a fixed pass rate gives the
// same speed on screen on every machine.
#pragma once
#include <cstdint>

namespace kovaren::saver {

constexpr int kPassesPerSecond = 60;  // reference rate: the leaves' per-pass constants assume it
constexpr int kMaxCatchUpPasses = 4;  // a gap of up to this many periods is caught up; a longer one is a stall

class PassClock {
 public:
  // `ticksPerSecond` > 0 is the clock's frequency; `startTicks` the reading when the loop starts.
  // The first pass is due at once.
  PassClock(int64_t ticksPerSecond, int64_t startTicks);

  // How many passes to run now, 0..kMaxCatchUpPasses; they count as run. A gap of a few periods is
  // caught up; after a longer one (a stall) one pass is due and the time is forgotten, so a stall
  // never turns into a burst or a jump. A reading earlier than the
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
