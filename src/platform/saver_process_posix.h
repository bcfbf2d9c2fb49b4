// What both Linux shells need of the process around the saver: the clock that paces passes, the
// seed of the day as on Windows, and the signals it answers as a descriptor to poll.
#pragma once
#include <cstdint>

namespace kovaren {

constexpr int64_t kNanosecondsPerSecond = 1'000'000'000;

// CLOCK_MONOTONIC in nanoseconds (PassClock's ticks at kNanosecondsPerSecond).
int64_t MonotonicNanoseconds();

// The seed the Windows saver takes from the local time of day.
uint64_t SeedFromLocalTime();

// SIGTERM and SIGINT (stop) and SIGUSR1 (report the pass count: a soak run reads the pass rate from
// outside, and a pass pays only an increment for it) as a descriptor to poll, blocked in this thread
// and every thread started after it (GStreamer's too): call before any thread starts. -1, with the
// signals left as they were, when the system offers no signalfd.
int OpenSaverSignals();

// The passes a saver ran, for the report.
struct PassCount {
  uint64_t run = 0;
  int mostAtOnce = 0;  // since the last report: a burst after a stall shows
  void Ran(int passes);
};

// Takes the descriptor's signal: a report goes to stderr here (and starts mostAtOnce again); true
// when the signal asks the saver to stop.
bool TakeStopSignal(int fd, PassCount& passes);

}  // namespace kovaren
