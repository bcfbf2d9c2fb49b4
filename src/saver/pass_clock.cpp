#include "saver/pass_clock.h"

#include <algorithm>
#include <cassert>

namespace kovaren::saver {

PassClock::PassClock(int64_t ticksPerSecond, int64_t startTicks)
    : ticksPerSecond_(ticksPerSecond), lastTicks_(startTicks), owed_(ticksPerSecond) {
  assert(ticksPerSecond > 0);
}

int64_t PassClock::OwedAt(int64_t nowTicks) const {
  const int64_t elapsed = std::max<int64_t>(0, nowTicks - lastTicks_);
  // Cap before multiplying: an hour-long stall (or a wild reading) must not overflow.
  const int64_t cap = ticksPerSecond_ * kMaxCatchUpPasses;
  const int64_t elapsedCapped = std::min<int64_t>(elapsed, cap);
  const int64_t owed = owed_ + elapsedCapped * kPassesPerSecond;
  // Owing more than a period beyond the catch-up window is a stall (a frozen process, a suspended
  // machine): the next pass is due at once and nothing is caught up, so the leaves go on from where
  // they were instead of jumping ahead.
  if (owed > cap + ticksPerSecond_) return ticksPerSecond_;
  return std::min<int64_t>(owed, cap);
}

int PassClock::TakeDuePasses(int64_t nowTicks) {
  owed_ = OwedAt(nowTicks);
  lastTicks_ = std::max(lastTicks_, nowTicks);
  const int64_t due = owed_ / ticksPerSecond_;  // <= kMaxCatchUpPasses through the cap
  owed_ -= due * ticksPerSecond_;
  return static_cast<int>(due);
}

uint32_t PassClock::MillisecondsUntilNextPass(int64_t nowTicks) const {
  const int64_t missing = ticksPerSecond_ - OwedAt(nowTicks);  // units still to accumulate
  if (missing <= 0) return 0;
  // missing units = missing / kPassesPerSecond ticks = missing * 1000 / (kPassesPerSecond * freq) ms.
  const int64_t denominator = int64_t{kPassesPerSecond} * ticksPerSecond_;
  return static_cast<uint32_t>((missing * 1000 + denominator - 1) / denominator);
}

void PassClock::Restart(int64_t nowTicks) {
  lastTicks_ = nowTicks;
  owed_ = ticksPerSecond_;
}

}  // namespace kovaren::saver
