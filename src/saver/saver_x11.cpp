// The X11 program's run, beside saver_win32.cpp and reading like it: the connection, the signals, the
// start sequence, and the loop that paces passes (counting them for a soak run's report), waits in
// poll() on the X connection, the signals and the music's bus, and routes events. The window
// (hack_window_x11.h), its scenes (hack_scenes_x11.h) and what each event does (hack_events_x11.h)
// live beside it; pacing and every decision live in the portable core.
#include "saver/saver_x11.h"

#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>

#include "music/gst_music_x11.h"
#include "platform/saver_process_posix.h"
#include "platform/x_errors_x11.h"
#include "saver/hack_ending.h"
#include "saver/hack_events_x11.h"
#include "saver/hack_scenes_x11.h"
#include "saver/hack_window_x11.h"
#include "saver/own_window.h"
#include "saver/leaf.h"
#include "saver/pass_clock.h"

namespace kovaren::x11 {
namespace {

using saver::kProgramName;

class HackRun {
 public:
  explicit HackRun(const saver::HackOptions& options) : options_(options) {}
  ~HackRun();
  HackRun(const HackRun&) = delete;
  HackRun& operator=(const HackRun&) = delete;

  // The start sequence, in order: signals, display, window (our own created hidden), what it
  // follows, picture and leaves, music, shown.
  bool Start();
  void Run();

 private:
  bool OpenDisplay();
  void Show();
  void ServeEvents();
  void Wait(int timeoutMs);
  void Respond(saver::HackEvent event);
  static void OnConnectionLost(Display* display, void* self);

  const saver::HackOptions& options_;
  // Declared first, so that it outlives the X side's teardown, which may end in OnConnectionLost.
  std::unique_ptr<GstMusic> music_;
  int stopSignals_ = -1;
  Display* display_ = nullptr;
  int screen_ = 0;
  std::unique_ptr<HackWindow> window_;
  std::optional<HackEvents> events_;
  std::optional<HackScenes> scenes_;
  bool running_ = false;
  bool connectionLost_ = false;
  PassCount passes_;  // read from outside (SIGUSR1) to measure the pass rate over hours
};

bool HackRun::Start() {
  stopSignals_ = OpenSaverSignals();  // first, so that no thread started later takes the signals
  if (!OpenDisplay()) return false;
  window_ = HackWindow::Take(display_, screen_, options_);
  if (!window_) return false;
  events_.emplace(display_, screen_, *window_, options_.target);
  scenes_.emplace(display_, screen_, *window_, options_, options_.seed.value_or(SeedFromLocalTime()));
  if (!options_.musicFile.empty()) music_ = GstMusic::Start(options_.musicFile);
  Show();
  return true;
}

bool HackRun::OpenDisplay() {
  display_ = XOpenDisplay(nullptr);
  if (!display_) {
    std::fprintf(stderr, "%s: cannot open the display\n", kProgramName);
    return false;
  }
  screen_ = DefaultScreen(display_);
  InstallErrorHandler();
  // Xlib's own handler prints and exits; ours stops the music first. Both end the process.
  XSetIOErrorHandler([](Display*) { return 0; });
  XSetIOErrorExitHandler(display_, &HackRun::OnConnectionLost, this);
  return true;
}

void HackRun::Show() {
  if (window_->own()) {
    window_->Show();  // painted on its first Expose
  } else {
    scenes_->PaintAll();  // a window handed over is already showing
  }
  XFlush(display_);
}

void HackRun::Run() {
  saver::PassClock clock(kNanosecondsPerSecond, MonotonicNanoseconds());
  running_ = true;
  while (running_) {
    // Events are served here only, between passes, never while a frame is built.
    ServeEvents();
    if (!running_) break;
    const bool animated = scenes_->animated();
    if (animated) {
      const int due = clock.TakeDuePasses(MonotonicNanoseconds());
      for (int i = 0; i < due; ++i) scenes_->RunPass();
      passes_.Ran(due);
    }
    XFlush(display_);
    if (XEventsQueued(display_, QueuedAlready) > 0) continue;
    // A still picture has nothing to pace: sleep until something happens.
    Wait(animated ? static_cast<int>(clock.MillisecondsUntilNextPass(MonotonicNanoseconds())) : -1);
  }
}

// Only what Xlib has already read: Wait reads the connection when poll says there is something, so
// a pass costs no read that finds nothing.
void HackRun::ServeEvents() {
  while (running_ && XEventsQueued(display_, QueuedAlready) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (const std::optional<saver::HackEvent> judged = events_->Handle(event, *window_, *scenes_)) Respond(*judged);
  }
}

void HackRun::Wait(int timeoutMs) {
  enum { kX, kSignals, kMusic, kCount };
  std::array<pollfd, kCount> fds{};
  fds[kX] = {ConnectionNumber(display_), POLLIN, 0};
  fds[kSignals] = {stopSignals_, POLLIN, 0};  // poll skips a negative descriptor
  fds[kMusic] = {music_ ? music_->pollDescriptor() : -1, POLLIN, 0};
  if (poll(fds.data(), fds.size(), timeoutMs) <= 0) return;  // the time, or a signal we do not stop for
  if (fds[kSignals].revents & POLLIN) {
    if (TakeStopSignal(stopSignals_, passes_)) Respond(saver::HackEvent::Terminated);
  }
  if (fds[kX].revents & (POLLHUP | POLLERR)) {
    connectionLost_ = true;
    Respond(saver::HackEvent::ConnectionLost);
  } else if (fds[kX].revents & POLLIN) {
    XEventsQueued(display_, QueuedAfterReading);  // a closed connection ends in OnConnectionLost
  }
  if (fds[kMusic].revents & POLLIN) music_->Serve();
}

void HackRun::Respond(saver::HackEvent event) {
  if (saver::EndsHack(event, options_.target)) running_ = false;
}

// Xlib calls this when the connection breaks inside one of its calls, and ends the process if it
// returns: the music stops first.
void HackRun::OnConnectionLost(Display*, void* self) {
  auto* run = static_cast<HackRun*>(self);
  if (run->music_) run->music_->Stop();
  _exit(0);
}

// The music first, then the presenters, the window and the connection, each before what it stands on.
HackRun::~HackRun() {
  music_.reset();
  if (!display_) return;
  if (connectionLost_) {
    if (window_) window_->Abandon();
    return;  // nothing to give back to a server that is gone
  }
  scenes_.reset();
  events_.reset();
  window_.reset();
  XCloseDisplay(display_);
}

}  // namespace

int RunHack(const saver::HackOptions& options) {
  signal(SIGPIPE, SIG_IGN);  // a broken connection is Xlib's to report, not a signal's to kill us
  HackRun run(options);
  if (!run.Start()) return 1;
  run.Run();
  return 0;
}

}  // namespace kovaren::x11
