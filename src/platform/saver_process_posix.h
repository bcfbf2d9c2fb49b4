// What both Linux shells need of the process around the saver: the clock that paces passes, the
// seed of the day as on Windows, and the stop signals as a descriptor to poll.
#pragma once
#include <cstdint>

namespace kovaren {

constexpr int64_t kNanosecondsPerSecond = 1'000'000'000;

// CLOCK_MONOTONIC in nanoseconds (PassClock's ticks at kNanosecondsPerSecond).
int64_t MonotonicNanoseconds();

// The seed the Windows saver takes from the local time of day.
uint64_t SeedFromLocalTime();

// SIGTERM and SIGINT as a descriptor to poll, blocked in this thread and every thread started after
// it (GStreamer's too): call before any thread starts. -1, with the signals left as they were, when
// the system offers no signalfd.
int OpenStopSignals();

// True when the descriptor says a stop signal came (and takes it).
bool TakeStopSignal(int fd);

}  // namespace kovaren
