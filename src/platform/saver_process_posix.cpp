#include "platform/saver_process_posix.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "saver/leaf.h"

namespace kovaren {
namespace {
constexpr int64_t kNanosecondsPerMillisecond = 1'000'000;
constexpr int kReportPassesSignal = SIGUSR1;
}  // namespace

int64_t MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

uint64_t SeedFromLocalTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  return saver::SeedFromTimeOfDay(local.tm_hour, local.tm_min, local.tm_sec,
                                  static_cast<int>(now.tv_nsec / kNanosecondsPerMillisecond));
}

int OpenSaverSignals() {
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTERM);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, kReportPassesSignal);
  if (pthread_sigmask(SIG_BLOCK, &stop, nullptr) != 0) return -1;
  const int fd = signalfd(-1, &stop, SFD_CLOEXEC | SFD_NONBLOCK);
  if (fd < 0) pthread_sigmask(SIG_UNBLOCK, &stop, nullptr);
  return fd;
}

void PassCount::Ran(int passes) {
  run += static_cast<uint64_t>(std::max(passes, 0));
  mostAtOnce = std::max(mostAtOnce, passes);
}

bool TakeStopSignal(int fd, PassCount& passes) {
  signalfd_siginfo info{};
  if (read(fd, &info, sizeof info) <= 0) return false;
  if (info.ssi_signo != kReportPassesSignal) return true;
  std::fprintf(stderr, "kovaren: passes %llu at-once %d\n", static_cast<unsigned long long>(passes.run),
               passes.mostAtOnce);
  passes.mostAtOnce = 0;
  return false;
}

}  // namespace kovaren
