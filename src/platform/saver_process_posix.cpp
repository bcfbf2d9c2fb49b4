#include "platform/saver_process_posix.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <time.h>
#include <unistd.h>

#include "saver/leaf.h"

namespace kovaren {
namespace {
constexpr int64_t kNanosecondsPerMillisecond = 1'000'000;
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

int OpenStopSignals() {
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTERM);
  sigaddset(&stop, SIGINT);
  if (pthread_sigmask(SIG_BLOCK, &stop, nullptr) != 0) return -1;
  const int fd = signalfd(-1, &stop, SFD_CLOEXEC | SFD_NONBLOCK);
  if (fd < 0) pthread_sigmask(SIG_UNBLOCK, &stop, nullptr);
  return fd;
}

bool TakeStopSignal(int fd) {
  signalfd_siginfo info{};
  return read(fd, &info, sizeof info) > 0;
}

}  // namespace kovaren
