// The X11 program's window, beside saver_win32.cpp and reading like it: the window the options
// choose (one handed over by a daemon or locker, the preview's, or one of its own), the picture under
// the leaves, one scene per monitor, music, and the loop that paces passes and routes events. The
// leaves, the monitor plan, pacing and every decision live in the portable core; this file waits in
// poll() on the X connection, the stop signals and the music's bus, presents and routes events.
#include "saver/saver_x11.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include "music/gst_music_x11.h"
#include "platform/huge_pages_x11.h"
#include "platform/x_errors_x11.h"
#include "saver/desktop_image_x11.h"
#include "saver/hack_backdrop.h"
#include "saver/hack_ending.h"
#include "saver/built_in_pictures.h"
#include "saver/leaf.h"
#include "saver/monitor_plan.h"
#include "saver/monitor_scenes.h"
#include "saver/monitors_x11.h"
#include "saver/pass_clock.h"
#include "saver/presenter_x11.h"

namespace kovaren::x11 {
namespace {

// The title and class of a window of our own (WM_NAME, WM_CLASS), and the name errors go by.
constexpr char kWindowName[] = "Kovaren";
constexpr char kProgramName[] = "kovaren";
constexpr int64_t kNanosecondsPerSecond = 1'000'000'000;
constexpr int64_t kNanosecondsPerMillisecond = 1'000'000;
// A window of our own on the desktop: half the primary monitor each way, never smaller than this.
constexpr int kOwnWindowMinWidth = 320;
constexpr int kOwnWindowMinHeight = 240;
constexpr long kOwnWindowEvents = KeyPressMask | ButtonPressMask | ExposureMask | StructureNotifyMask;
// A window handed over belongs to the daemon, whose grab the keys and clicks are: we only watch it.
constexpr long kHandedWindowEvents = ExposureMask | StructureNotifyMask;
// Asks for the count of passes run so far, on stderr: a soak run reads the pass rate from outside,
// and a pass pays only an increment for it.
constexpr int kReportPassesSignal = SIGUSR1;

int64_t ClockNow() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

uint64_t SeedNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  return saver::SeedFromTimeOfDay(local.tm_hour, local.tm_min, local.tm_sec,
                                  static_cast<int>(now.tv_nsec / kNanosecondsPerMillisecond));
}

// SIGTERM and SIGINT (stop) and SIGUSR1 (report the pass count) as a descriptor to poll, blocked in
// this thread and every thread started after it (GStreamer's too). -1, with the signals left as they
// were, when the system offers no signalfd.
int OpenStopSignals() {
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

// The count, and the most passes run at once since the last report (a burst after a stall shows).
void ReportPasses(uint64_t passes, int mostAtOnce) {
  std::fprintf(stderr, "kovaren: passes %llu at-once %d\n", static_cast<unsigned long long>(passes), mostAtOnce);
}

Rect CentredIn(const Rect& outer, int w, int h) { return {outer.x + (outer.w - w) / 2, outer.y + (outer.h - h) / 2, w, h}; }

bool SamePlan(const saver::MonitorPlan& a, const saver::MonitorPlan& b) { return a.window == b.window && a.scenes == b.scenes; }

// Presents the scene set's parts through one X presenter each, in the order of its plan.
class WindowPresenter final : public saver::PartPresenter {
 public:
  explicit WindowPresenter(std::vector<std::unique_ptr<FramePresenter>>& presenters) : presenters_(presenters) {}
  void Present(size_t index, ConstPixelView frame, std::span<const Rect> dirty) override {
    presenters_[index]->Present(frame, dirty);
  }
  void PresentAll(size_t index, ConstPixelView frame) override { presenters_[index]->PresentAll(frame); }

 private:
  std::vector<std::unique_ptr<FramePresenter>>& presenters_;
};

class HackWindow {
 public:
  explicit HackWindow(const saver::HackOptions& options) : options_(options) {}
  ~HackWindow();
  HackWindow(const HackWindow&) = delete;
  HackWindow& operator=(const HackWindow&) = delete;

  // The start sequence, in order: display, window (our own created hidden), plan, picture, leaves,
  // music, shown.
  bool Start();
  void Run();

 private:
  bool OpenDisplay();
  bool TakeWindow();
  bool CreateOwnWindow();
  saver::MonitorPlan PlanScenes() const;
  void FollowScreens();
  void Replan(const Rect& area);
  void MakePresenters();
  PixelBuffer ReadBackdrop();
  void SetUpLeaves(const PixelBuffer& backdrop);
  void StartMusic();
  void Show();

  void ServeEvents();
  void Handle(const XEvent& event);
  void Wait(int timeoutMs);
  void RunPass();
  void PaintAll();
  void Respond(saver::HackEvent event);
  static void OnConnectionLost(Display* display, void* self);

  const saver::HackOptions& options_;
  Display* display_ = nullptr;
  int screen_ = 0;
  Window window_ = None;
  bool ownWindow_ = false;
  Visual* visual_ = nullptr;
  int depth_ = 0;
  Rect area_;  // the window, root coordinates
  Atom deleteWindow_ = None;
  Cursor blankCursor_ = None;
  int randrEvents_ = -1;  // RandR's first event number; -1 without RandR
  std::optional<saver::MonitorScenes> scenes_;
  // One per scene of scenes_->plan(), in its order.
  std::vector<std::unique_ptr<FramePresenter>> presenters_;
  std::unique_ptr<GstMusic> music_;
  int stopSignals_ = -1;
  bool running_ = false;
  bool connectionLost_ = false;
  uint64_t passesRun_ = 0;  // read from outside (SIGUSR1) to measure the pass rate over hours
  int mostPassesAtOnce_ = 0;
};

bool HackWindow::Start() {
  stopSignals_ = OpenStopSignals();  // first, so that no thread started later takes the signals
  if (!OpenDisplay() || !TakeWindow()) return false;
  FollowScreens();
  SetUpLeaves(ReadBackdrop());
  StartMusic();
  Show();
  return true;
}

bool HackWindow::OpenDisplay() {
  display_ = XOpenDisplay(nullptr);
  if (!display_) {
    std::fprintf(stderr, "%s: cannot open the display\n", kProgramName);
    return false;
  }
  screen_ = DefaultScreen(display_);
  InstallErrorHandler();
  // Xlib's own handler prints and exits; ours stops the music first. Both end the process.
  XSetIOErrorHandler([](Display*) { return 0; });
  XSetIOErrorExitHandler(display_, &HackWindow::OnConnectionLost, this);
  return true;
}

// The window to draw in, with its visual and its place on the screen.
bool HackWindow::TakeWindow() {
  using saver::HackTarget;
  switch (options_.target) {
    case HackTarget::OwnWindow:
    case HackTarget::FullScreen:
      return CreateOwnWindow();
    case HackTarget::RootWindow:
      window_ = RootWindow(display_, screen_);
      break;
    case HackTarget::HandedWindow:
    case HackTarget::PreviewWindow:
      window_ = static_cast<Window>(options_.windowId);
      break;
  }
  XWindowAttributes attributes{};
  ErrorTrap trap(display_);
  const Status got = XGetWindowAttributes(display_, window_, &attributes);
  if (trap.Failed() || !got) {
    std::fprintf(stderr, "%s: there is no window 0x%lx\n", kProgramName, static_cast<unsigned long>(window_));
    return false;
  }
  // Told when it goes away or needs painting again; its keys and clicks stay the daemon's.
  XSelectInput(display_, window_, kHandedWindowEvents);
  visual_ = attributes.visual;
  depth_ = attributes.depth;
  int x = 0, y = 0;
  Window child = None;
  XTranslateCoordinates(display_, window_, RootWindow(display_, screen_), 0, 0, &x, &y, &child);
  area_ = {x, y, attributes.width, attributes.height};
  return true;
}

// Created unmapped, so the screen can still be read under it.
bool HackWindow::CreateOwnWindow() {
  const Rect screen{0, 0, DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)};
  const bool fullScreen = options_.target == saver::HackTarget::FullScreen;
  if (fullScreen) {
    area_ = screen;
  } else {
    Rect primary = screen;
    for (const saver::MonitorReport& m : ListMonitors(display_, screen_))
      if (m.primary) primary = m.bounds;
    area_ = CentredIn(primary, std::max(primary.w / 2, kOwnWindowMinWidth), std::max(primary.h / 2, kOwnWindowMinHeight));
  }
  visual_ = DefaultVisual(display_, screen_);
  depth_ = DefaultDepth(display_, screen_);
  XSetWindowAttributes attributes{};
  attributes.background_pixmap = None;  // every pixel is painted from the frame; a fill would flash
  attributes.event_mask = kOwnWindowEvents;
  attributes.override_redirect = fullScreen ? True : False;  // over every monitor, no frame, no manager
  window_ = XCreateWindow(display_, RootWindow(display_, screen_), area_.x, area_.y, static_cast<unsigned>(area_.w),
                          static_cast<unsigned>(area_.h), 0, depth_, InputOutput, visual_,
                          CWBackPixmap | CWEventMask | CWOverrideRedirect, &attributes);
  if (window_ == None) return false;
  ownWindow_ = true;

  XStoreName(display_, window_, kWindowName);
  XClassHint classHint{const_cast<char*>(kProgramName), const_cast<char*>(kWindowName)};
  XSetClassHint(display_, window_, &classHint);
  // The picture is cut for this size: the window manager may place the window, not resize it.
  XSizeHints* size = XAllocSizeHints();
  if (size) {
    size->flags = PPosition | PSize | PMinSize | PMaxSize;
    size->x = area_.x;
    size->y = area_.y;
    size->width = size->min_width = size->max_width = area_.w;
    size->height = size->min_height = size->max_height = area_.h;
    XSetWMNormalHints(display_, window_, size);
    XFree(size);
  }
  deleteWindow_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display_, window_, &deleteWindow_, 1);
  if (fullScreen) {
    // As on Windows, no pointer over the full-screen leaves.
    static const char kBlank[1] = {0};
    Pixmap empty = XCreateBitmapFromData(display_, window_, kBlank, 1, 1);
    XColor black{};
    blankCursor_ = XCreatePixmapCursor(display_, empty, empty, &black, &black, 0, 0);
    XFreePixmap(display_, empty);
    XDefineCursor(display_, window_, blankCursor_);
  }
  return true;
}

// One scene per monitor the window covers; a window of our own on the desktop, and the preview, are
// one scene at the scale of the monitor they lie on.
saver::MonitorPlan HackWindow::PlanScenes() const {
  const bool oneScene =
      options_.target == saver::HackTarget::OwnWindow || options_.target == saver::HackTarget::PreviewWindow;
  return saver::PlanWindow(area_, ListMonitors(display_, screen_),
                           oneScene ? saver::SceneLayout::OneScene : saver::SceneLayout::PerMonitor);
}

// A full-screen window follows the root (its size and RandR's monitors); a window handed over is
// followed through its own ConfigureNotify, already selected.
void HackWindow::FollowScreens() {
  if (options_.target != saver::HackTarget::FullScreen && options_.target != saver::HackTarget::RootWindow) return;
  int error = 0;
  if (XRRQueryExtension(display_, &randrEvents_, &error)) {
    XRRSelectInput(display_, RootWindow(display_, screen_), RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask);
  } else {
    randrEvents_ = -1;
  }
  if (ownWindow_) XSelectInput(display_, RootWindow(display_, screen_), StructureNotifyMask);
}

// The screens or the window's size changed: the window takes `area` and its scenes the new plan;
// monitors that stayed keep their leaves.
void HackWindow::Replan(const Rect& area) {
  if (ownWindow_ && !(area == area_))
    XMoveResizeWindow(display_, window_, area.x, area.y, static_cast<unsigned>(area.w), static_cast<unsigned>(area.h));
  area_ = area;
  const saver::MonitorPlan after = PlanScenes();
  if (!scenes_ || SamePlan(after, scenes_->plan())) return;
  scenes_->Replan(after);
  MakePresenters();
  PaintAll();
}

// Where an image holds our pixel words, its scene draws straight into it.
void HackWindow::MakePresenters() {
  scenes_->DrawIntoOwnFrames();  // the old presenters' images go now
  presenters_.clear();
  for (const saver::SceneArea& planned : scenes_->plan().scenes)
    presenters_.push_back(std::make_unique<FramePresenter>(display_, window_, visual_, depth_, planned.area));
  for (size_t i = 0; i < scenes_->plan().scenes.size(); ++i) {
    if (const saver::LeafScene* scene = scenes_->scene(i)) {
      AskForHugePages(scene->snapshot().pixels());
      scenes_->DrawInto(i, presenters_[i]->storage());
    }
  }
}

PixelBuffer HackWindow::ReadBackdrop() {
  const bool handedOver =
      options_.target == saver::HackTarget::HandedWindow || options_.target == saver::HackTarget::PreviewWindow;
  std::optional<PixelBuffer> screenshot;
  if (handedOver) screenshot = ReadDaemonScreenshot(display_, window_, visual_, area_.w, area_.h);
  switch (saver::ChooseBackdrop(options_.target, screenshot.has_value())) {
    case saver::HackBackdrop::DaemonScreenshot:
      return std::move(*screenshot);
    case saver::HackBackdrop::ScreenBeforeMap:
      return ReadScreen(display_, screen_, area_);
    case saver::HackBackdrop::Dark:
      break;
  }
  return PixelBuffer(area_.w, area_.h, saver::kDarkBackdrop);
}

// The leaves, one scene per monitor at its scale, seeded as on Windows.
void HackWindow::SetUpLeaves(const PixelBuffer& backdrop) {
  scenes_.emplace(PlanScenes(), backdrop);
  scenes_->StartLeaves(saver::BuiltInSprites(), options_.leafCount, options_.seed.value_or(SeedNow()));
  MakePresenters();
}

void HackWindow::StartMusic() {
  if (!options_.musicFile.empty()) music_ = GstMusic::Start(options_.musicFile);
}

void HackWindow::Show() {
  if (ownWindow_) {
    XMapRaised(display_, window_);  // painted on its first Expose
  } else {
    PaintAll();  // a window handed over is already showing
  }
  XFlush(display_);
}

void HackWindow::Run() {
  saver::PassClock clock(kNanosecondsPerSecond, ClockNow());
  running_ = true;
  while (running_) {
    // Events are served here only, between passes, never while a frame is built.
    ServeEvents();
    if (!running_) break;
    const bool animated = scenes_->animated();
    if (animated) {
      const int due = clock.TakeDuePasses(ClockNow());
      for (int i = 0; i < due; ++i) RunPass();
      mostPassesAtOnce_ = std::max(mostPassesAtOnce_, due);
    }
    XFlush(display_);
    if (XEventsQueued(display_, QueuedAlready) > 0) continue;
    // A still picture has nothing to pace: sleep until something happens.
    Wait(animated ? static_cast<int>(clock.MillisecondsUntilNextPass(ClockNow())) : -1);
  }
}

// Only what Xlib has already read: Wait reads the connection when poll says there is something, so
// a pass costs no read that finds nothing.
void HackWindow::ServeEvents() {
  while (running_ && XEventsQueued(display_, QueuedAlready) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    Handle(event);
  }
}

void HackWindow::Wait(int timeoutMs) {
  enum { kX, kSignals, kMusic, kCount };
  std::array<pollfd, kCount> fds{};
  fds[kX] = {ConnectionNumber(display_), POLLIN, 0};
  fds[kSignals] = {stopSignals_, POLLIN, 0};  // poll skips a negative descriptor
  fds[kMusic] = {music_ ? music_->pollDescriptor() : -1, POLLIN, 0};
  if (poll(fds.data(), fds.size(), timeoutMs) <= 0) return;  // the time, or a signal we do not stop for
  if (fds[kSignals].revents & POLLIN) {
    signalfd_siginfo info{};
    if (read(stopSignals_, &info, sizeof info) > 0) {
      if (info.ssi_signo == kReportPassesSignal) {
        ReportPasses(passesRun_, mostPassesAtOnce_);
        mostPassesAtOnce_ = 0;
      } else {
        Respond(saver::HackEvent::Terminated);
      }
    }
  }
  if (fds[kX].revents & (POLLHUP | POLLERR)) {
    connectionLost_ = true;
    Respond(saver::HackEvent::ConnectionLost);
  } else if (fds[kX].revents & POLLIN) {
    XEventsQueued(display_, QueuedAfterReading);  // a closed connection ends in OnConnectionLost
  }
  if (fds[kMusic].revents & POLLIN) music_->Serve();
}

void HackWindow::Handle(const XEvent& event) {
  using saver::HackEvent;
  if (randrEvents_ >= 0 &&
      (event.type == randrEvents_ + RRScreenChangeNotify || event.type == randrEvents_ + RRNotify)) {
    XRRUpdateConfiguration(const_cast<XEvent*>(&event));
    Replan({0, 0, DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)});
    return;
  }
  switch (event.type) {
    case KeyPress:
      Respond(HackEvent::KeyDown);
      return;
    case ButtonPress:
      Respond(HackEvent::ButtonDown);
      return;
    case Expose:
      if (event.xexpose.count == 0) PaintAll();
      return;
    case MapNotify:
      // Keys go to the focused window only; one that was mapped but never focused (as under a
      // server without a window manager) would never hear the key that should end it.
      if (ownWindow_ && event.xmap.window == window_) XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
      return;
    case ConfigureNotify:
      if (event.xconfigure.window == RootWindow(display_, screen_) && ownWindow_) {
        XRRUpdateConfiguration(const_cast<XEvent*>(&event));
        Replan({0, 0, event.xconfigure.width, event.xconfigure.height});
      } else if (event.xconfigure.window == window_ && !ownWindow_) {
        Replan({area_.x, area_.y, event.xconfigure.width, event.xconfigure.height});
      }
      return;
    case DestroyNotify:
      if (event.xdestroywindow.window == window_) Respond(HackEvent::WindowGone);
      return;
    case ClientMessage:
      if (event.xclient.format == 32 && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_)
        Respond(HackEvent::CloseAsked);
      return;
  }
}

void HackWindow::RunPass() {
  WindowPresenter presenter(presenters_);
  scenes_->RunPass(presenter);
  ++passesRun_;
}

void HackWindow::PaintAll() {
  WindowPresenter presenter(presenters_);
  scenes_->PresentAll(presenter);
}

void HackWindow::Respond(saver::HackEvent event) {
  if (saver::EndsHack(event, options_.target)) running_ = false;
}

// Xlib calls this when the connection breaks inside one of its calls, and ends the process if it
// returns: the music stops first.
void HackWindow::OnConnectionLost(Display*, void* self) {
  auto* window = static_cast<HackWindow*>(self);
  if (window->music_) window->music_->Stop();
  _exit(0);
}

HackWindow::~HackWindow() {
  music_.reset();
  if (!display_) return;
  if (connectionLost_) return;  // nothing to give back to a server that is gone
  presenters_.clear();
  if (ownWindow_) XDestroyWindow(display_, window_);
  if (blankCursor_ != None) XFreeCursor(display_, blankCursor_);
  XCloseDisplay(display_);
}

}  // namespace

int RunHack(const saver::HackOptions& options) {
  signal(SIGPIPE, SIG_IGN);  // a broken connection is Xlib's to report, not a signal's to kill us
  HackWindow window(options);
  if (!window.Start()) return 1;
  window.Run();
  return 0;
}

}  // namespace kovaren::x11
