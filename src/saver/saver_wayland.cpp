// The Wayland program's loop, beside saver_x11.cpp and reading like it: connect, bind, copy every
// output's picture before anything maps, one surface per output over the shared scene set, music,
// then wait in poll() on the connection, the signals and the music's bus. A surface gets its next
// frame when the compositor's frame callback asks for it and a pass is due; nothing wakes otherwise.
#include "saver/saver_wayland.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "music/gst_music_x11.h"
#include "platform/saver_process_posix.h"
#include "saver/built_in_pictures.h"
#include "saver/globals_wayland.h"
#include "saver/hack_backdrop.h"
#include "saver/hack_ending.h"
#include "saver/monitor_scenes.h"
#include "saver/output_plan_wayland.h"
#include "saver/own_window.h"
#include "saver/pass_clock.h"
#include "saver/saver_surface_wayland.h"
#include "saver/screencopy_wayland.h"
#include "saver/seat_wayland.h"

namespace kovaren::wayland {
namespace {

using saver::kProgramName;
constexpr int kWaitForever = -1;
constexpr int kRoundTripsForFirstSizes = 10;  // sway sizes a layer surface within the first one, nearly always

// One output's surface (or the window of our own) and its pace; its leaves are the scene set's part
// of the same index. The picture under them was copied before any surface mapped.
struct OutputSurface {
  uint32_t outputName = 0;  // 0 for a window of our own
  std::unique_ptr<SaverSurface> surface;
  std::optional<PixelBuffer> copy;         // the output as it was, until its part is planned
  std::optional<saver::PassClock> clock;  // from the surface's first frame
  ShownOutput shown() const {
    return {outputName, surface->width() * surface->scale(), surface->height() * surface->scale(), surface->scale()};
  }
};

// Presents the scene set's parts on their surfaces: what a pass changed waits in the surface for its
// commit, which the loop makes once a frame is wanted.
class SurfacePresenter final : public saver::PartPresenter {
 public:
  explicit SurfacePresenter(std::vector<std::unique_ptr<OutputSurface>>& shown) : shown_(shown) {}
  void Present(size_t index, ConstPixelView, std::span<const Rect> dirty) override {
    shown_.at(index)->surface->Changed(dirty);
  }
  void PresentAll(size_t index, ConstPixelView) override { shown_.at(index)->surface->ChangedAll(); }

 private:
  std::vector<std::unique_ptr<OutputSurface>>& shown_;
};

class WaylandSaver {
 public:
  explicit WaylandSaver(const saver::HackOptions& options) : options_(options) {}
  ~WaylandSaver();
  WaylandSaver(const WaylandSaver&) = delete;
  WaylandSaver& operator=(const WaylandSaver&) = delete;

  bool Start();
  void Run();

 private:
  bool Connect();
  bool AddSurfaces();
  void StartLeaves();
  std::vector<ShownOutput> Shown() const;
  void PlaceConfigured();
  void SyncPlan();
  void DropOutput(uint32_t name);
  void ServeParts();
  int Timeout() const;
  void Wait(int timeoutMs);
  void Respond(saver::HackEvent event);
  void OnOutputReady(Output& output);

  const saver::HackOptions& options_;
  Globals globals_;
  std::unique_ptr<Seat> seat_;
  // Surfaces the compositor has not sized yet, and those that show a part of scenes_ (in its order).
  std::vector<std::unique_ptr<OutputSurface>> waiting_;
  std::vector<std::unique_ptr<OutputSurface>> shown_;
  std::optional<saver::MonitorScenes> scenes_;
  std::vector<ShownOutput> planned_;  // what scenes_ was planned for, in shown_'s order
  std::unique_ptr<x11::GstMusic> music_;
  int signals_ = -1;
  bool running_ = false;
  bool connectionLost_ = false;
  PassCount passes_;  // read from outside (SIGUSR1) to measure the pass rate over hours
};

bool WaylandSaver::Connect() {
  globals_.display = wl_display_connect(nullptr);
  if (!globals_.display) {
    std::fprintf(stderr, "%s: cannot connect to the Wayland compositor\n", kProgramName);
    return false;
  }
  BindGlobals(globals_);
  // The globals, then the outputs' facts.
  if (wl_display_roundtrip(globals_.display) < 0 || wl_display_roundtrip(globals_.display) < 0) return false;
  if (!globals_.compositor || !globals_.shm) {
    std::fprintf(stderr, "%s: the compositor offers no wl_compositor 4 or wl_shm\n", kProgramName);
    return false;
  }
  return true;
}

bool WaylandSaver::Start() {
  signals_ = OpenSaverSignals();  // first, so that no thread started later takes the signals
  if (!Connect() || !AddSurfaces()) return false;
  globals_.outputReady = [this](Output& output) { OnOutputReady(output); };
  globals_.outputGone = [this](uint32_t name) { DropOutput(name); };
  // The surfaces' first sizes: the scene set is planned from them. The compositor may size one a
  // little after the others, and one sized after the plan joins over black (its picture copied
  // before anything mapped would be lost), so the plan waits a few more round trips for it.
  const auto sized = [](const auto& s) { return s->surface->configured() || s->surface->closed(); };
  int roundTrips = 0;
  do {
    if (wl_display_roundtrip(globals_.display) < 0) return false;
  } while (++roundTrips < kRoundTripsForFirstSizes && !std::all_of(waiting_.begin(), waiting_.end(), sized));
  StartLeaves();
  const bool fullScreen = options_.target == saver::HackTarget::FullScreen;
  seat_ = std::make_unique<Seat>(globals_.seat, fullScreen, [this](saver::HackEvent e) { Respond(e); });
  if (!options_.musicFile.empty()) music_ = x11::GstMusic::Start(options_.musicFile);
  return true;
}

// Full screen: every output's picture first (a surface that maps would be in the next copy), then a
// surface over each. Otherwise one window of our own over the dark backdrop.
bool WaylandSaver::AddSurfaces() {
  if (options_.target == saver::HackTarget::FullScreen) {
    if (!globals_.layerShell) {
      std::fprintf(stderr, "%s: the compositor offers no layer-shell (zwlr_layer_shell_v1): no full screen here\n",
                   kProgramName);
      return false;
    }
    const bool copy = saver::ChooseBackdrop(options_.target, false) == saver::HackBackdrop::ScreenBeforeMap;
    for (const auto& output : globals_.outputs) {
      auto shown = std::make_unique<OutputSurface>();
      shown->outputName = output->name;
      if (copy) shown->copy = CaptureOutput(globals_, *output);
      waiting_.push_back(std::move(shown));
    }
    for (const auto& shown : waiting_) {
      const auto output = std::find_if(globals_.outputs.begin(), globals_.outputs.end(),
                                       [&](const auto& o) { return o->name == shown->outputName; });
      if (output != globals_.outputs.end()) shown->surface = SaverSurface::OverOutput(globals_, **output);
    }
    std::erase_if(waiting_, [](const auto& shown) { return !shown->surface; });  // its output went meanwhile
    return true;
  }
  const Output* first = globals_.outputs.empty() ? nullptr : globals_.outputs.front().get();
  const int scale = first ? first->scale : 1;
  // Half the first output each way.
  const saver::WindowSize size =
      first ? saver::OwnWindowSize(first->modeWidth / scale, first->modeHeight / scale) : saver::OwnWindowSize(0, 0);
  auto shown = std::make_unique<OutputSurface>();
  shown->surface = SaverSurface::Window(globals_, size.w, size.h, scale, saver::kOwnWindowName);
  if (!shown->surface) {
    std::fprintf(stderr, "%s: the compositor offers no xdg_wm_base\n", kProgramName);
    return false;
  }
  waiting_.push_back(std::move(shown));
  return true;
}

// The scene set over the surfaces sized so far, each over its output's picture; one sized later
// joins through a re-plan.
void WaylandSaver::StartLeaves() {
  std::vector<PixelBuffer> pictures;
  for (auto it = waiting_.begin(); it != waiting_.end();) {
    if (!(*it)->surface->configured()) {
      ++it;
      continue;
    }
    const ShownOutput shown = (*it)->shown();
    pictures.push_back(OutputPicture((*it)->copy, shown.width, shown.height));
    (*it)->copy.reset();
    shown_.push_back(std::move(*it));
    it = waiting_.erase(it);
  }
  planned_ = Shown();
  scenes_.emplace(PlanOutputs(planned_), pictures);
  scenes_->StartLeaves(saver::BuiltInSprites(), options_.leafCount, options_.seed.value_or(SeedFromLocalTime()));
}

std::vector<ShownOutput> WaylandSaver::Shown() const {
  std::vector<ShownOutput> shown;
  for (const auto& s : shown_) shown.push_back(s->shown());
  return shown;
}

// Surfaces sized since the last plan join it.
void WaylandSaver::PlaceConfigured() {
  for (auto& s : waiting_)
    if (s->surface->configured()) shown_.push_back(std::move(s));
  std::erase(waiting_, nullptr);
  SyncPlan();
}

// The scene set follows the outputs shown: one new or of a new size or scale gets leaves over black
// (a copy now would show the saver itself), one gone its scene ended; the others keep their leaves,
// and their surfaces what they show.
void WaylandSaver::SyncPlan() {
  std::vector<ShownOutput> now = Shown();
  if (now == planned_) return;
  scenes_->Replan(PlanOutputs(now), MatchOutputs(planned_, now));
  planned_ = std::move(now);
}

// The output's surface and part go before the output's proxy does.
void WaylandSaver::DropOutput(uint32_t name) {
  if (name == 0) return;  // the window of our own has no output
  std::erase_if(waiting_, [&](const auto& s) { return s->outputName == name; });
  if (std::erase_if(shown_, [&](const auto& s) { return s->outputName == name; })) SyncPlan();
}

void WaylandSaver::OnOutputReady(Output& output) {
  if (options_.target != saver::HackTarget::FullScreen) return;
  const auto same = [&](const auto& s) { return s->outputName == output.name; };
  if (std::any_of(waiting_.begin(), waiting_.end(), same) || std::any_of(shown_.begin(), shown_.end(), same)) return;
  auto shown = std::make_unique<OutputSurface>();
  shown->outputName = output.name;
  shown->surface = SaverSurface::OverOutput(globals_, output);
  if (shown->surface) waiting_.push_back(std::move(shown));
}

// Every surface the compositor wants a frame for gets the passes due for its part, then the frame.
void WaylandSaver::ServeParts() {
  PlaceConfigured();
  const int64_t now = MonotonicNanoseconds();
  SurfacePresenter presenter(shown_);
  int mostDue = 0;
  for (size_t i = 0; i < shown_.size(); ++i) {
    OutputSurface& shown = *shown_[i];
    if (shown.surface->waitingForFrame()) continue;
    const std::optional<ConstPixelView> frame = scenes_->frame(i);
    if (!frame) continue;  // no memory even for its picture: nothing of ours on this output
    if (scenes_->scene(i)) {
      if (!shown.clock) shown.clock.emplace(kNanosecondsPerSecond, now);
      const int due = shown.clock->TakeDuePasses(now);
      for (int p = 0; p < due; ++p) scenes_->RunPartPass(i, presenter);
      mostDue = std::max(mostDue, due);
    }
    if (shown.surface->unshown()) shown.surface->Present(*frame);
  }
  passes_.Ran(mostDue);
  if (options_.target != saver::HackTarget::FullScreen) {
    for (const auto& s : shown_)
      if (s->surface->closed()) Respond(saver::HackEvent::CloseAsked);
    return;
  }
  // A surface the compositor closed (its output going, or turned off) is dropped; the output's
  // removal, if it follows, finds nothing left.
  std::vector<uint32_t> closed;
  for (const auto& s : shown_)
    if (s->surface->closed()) closed.push_back(s->outputName);
  for (const uint32_t name : closed) DropOutput(name);
  std::erase_if(waiting_, [](const auto& s) { return s->surface->closed(); });
}

// Until the next pass of a surface that may take a frame; forever when every surface waits for the
// compositor (its frame callback or a buffer's release arrives on the connection).
int WaylandSaver::Timeout() const {
  const int64_t now = MonotonicNanoseconds();
  int timeout = kWaitForever;
  for (size_t i = 0; i < shown_.size(); ++i) {
    const OutputSurface& shown = *shown_[i];
    if (!scenes_->scene(i) || !shown.clock || shown.surface->waitingForFrame()) continue;
    if (shown.surface->unshown()) continue;  // waits for a buffer's release
    const int ms = static_cast<int>(shown.clock->MillisecondsUntilNextPass(now));
    timeout = timeout == kWaitForever ? ms : std::min(timeout, ms);
  }
  return timeout;
}

void WaylandSaver::Run() {
  wl_display* display = globals_.display;
  running_ = true;
  while (running_) {
    ServeParts();
    if (!running_) break;
    // Read events the usual way: prepare, flush, poll, read, dispatch.
    bool dispatched = true;
    while (dispatched && wl_display_prepare_read(display) != 0) dispatched = wl_display_dispatch_pending(display) >= 0;
    if (!dispatched) {
      connectionLost_ = true;
      break;
    }
    if (wl_display_flush(display) < 0 && errno != EAGAIN) {
      wl_display_cancel_read(display);
      connectionLost_ = true;
      Respond(saver::HackEvent::ConnectionLost);
      break;
    }
    Wait(Timeout());
  }
}

void WaylandSaver::Wait(int timeoutMs) {
  wl_display* display = globals_.display;
  enum { kWayland, kSignals, kMusic, kCount };
  std::array<pollfd, kCount> fds{};
  fds[kWayland] = {wl_display_get_fd(display), POLLIN, 0};
  fds[kSignals] = {signals_, POLLIN, 0};  // poll skips a negative descriptor
  fds[kMusic] = {music_ ? music_->pollDescriptor() : -1, POLLIN, 0};
  if (poll(fds.data(), fds.size(), timeoutMs) <= 0) {
    wl_display_cancel_read(display);  // the time, or a signal we do not stop for
    return;
  }
  if (fds[kWayland].revents & POLLIN) {
    if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0) {
      connectionLost_ = true;
      Respond(saver::HackEvent::ConnectionLost);
    }
  } else {
    wl_display_cancel_read(display);
    if (fds[kWayland].revents & (POLLHUP | POLLERR)) {
      connectionLost_ = true;
      Respond(saver::HackEvent::ConnectionLost);
    }
  }
  if (fds[kSignals].revents & POLLIN) {
    if (TakeStopSignal(signals_, passes_)) Respond(saver::HackEvent::Terminated);
  }
  if (fds[kMusic].revents & POLLIN) music_->Serve();
}

void WaylandSaver::Respond(saver::HackEvent event) {
  if (saver::EndsHack(event, options_.target)) running_ = false;
}

WaylandSaver::~WaylandSaver() {
  music_.reset();
  if (!globals_.display) return;
  globals_.outputReady = nullptr;
  globals_.outputGone = nullptr;
  shown_.clear();
  waiting_.clear();
  seat_.reset();
  if (!connectionLost_) wl_display_flush(globals_.display);
}

}  // namespace

int RunSaver(const saver::HackOptions& options) {
  signal(SIGPIPE, SIG_IGN);  // a broken connection is libwayland's to report, not a signal's to kill us
  WaylandSaver saver(options);
  if (!saver.Start()) return 1;
  saver.Run();
  return 0;
}

}  // namespace kovaren::wayland
