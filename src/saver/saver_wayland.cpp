// The Wayland program's loop, beside saver_x11.cpp and reading like it: connect, bind, copy every
// output's picture before anything maps, one scene and one surface per output, music, then wait in
// poll() on the connection, the stop signals and the music's bus. A surface gets its next frame when
// the compositor's frame callback asks for it and a pass is due; nothing wakes otherwise.
#include "saver/saver_wayland.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <vector>

#include "art/leaf_art.h"
#include "music/gst_music_x11.h"
#include "platform/saver_process_posix.h"
#include "saver/globals_wayland.h"
#include "saver/hack_backdrop.h"
#include "saver/hack_ending.h"
#include "saver/leaf.h"
#include "saver/leaf_scene.h"
#include "saver/pass_clock.h"
#include "saver/saver_surface_wayland.h"
#include "saver/screencopy_wayland.h"
#include "saver/seat_wayland.h"

namespace kovaren::wayland {
namespace {

constexpr char kProgramName[] = "kovaren";
constexpr char kSaverCaption[] = "Tesmar_Main";
// A window of our own: half the first output each way, never smaller than this.
constexpr int kOwnWindowMinWidth = 320;
constexpr int kOwnWindowMinHeight = 240;
constexpr int kWaitForever = -1;


// One output's scene and the surface that shows it. The scene is made once the compositor has said
// the surface's size; the picture under it was copied before any surface mapped.
struct Part {
  uint32_t outputName = 0;  // 0 for a window of our own
  uint64_t seed = 0;
  std::optional<PixelBuffer> picture;  // the output as it was, until the scene takes it
  std::unique_ptr<SaverSurface> surface;
  std::optional<saver::LeafScene> scene;
  PixelBuffer still;  // shown when there is no memory for leaves
  std::optional<saver::PassClock> clock;
  const PixelBuffer& frame() const { return scene ? scene->frame() : still; }
};

class WaylandSaver {
 public:
  explicit WaylandSaver(const start::HackOptions& options) : options_(options) {}
  ~WaylandSaver();
  WaylandSaver(const WaylandSaver&) = delete;
  WaylandSaver& operator=(const WaylandSaver&) = delete;

  bool Start();
  void Run();

 private:
  bool Connect();
  void AddOutputPart(const Output& output, bool copyPicture);
  void MakeScene(Part& part);
  void ServeParts();
  int Timeout() const;
  void Wait(int timeoutMs);
  void Respond(saver::HackEvent event);
  void OnOutputReady(Output& output);
  void OnOutputGone(uint32_t name);

  const start::HackOptions& options_;
  Globals globals_;
  std::unique_ptr<Seat> seat_;
  saver::SpriteSet sprites_;
  uint64_t seed_ = 0;
  uint64_t nextSeed_ = 0;
  std::vector<std::unique_ptr<Part>> parts_;
  std::unique_ptr<x11::GstMusic> music_;
  int stopSignals_ = -1;
  bool running_ = false;
  bool connectionLost_ = false;
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
  stopSignals_ = OpenStopSignals();  // first, so that no thread started later takes the signals
  if (!Connect()) return false;
  const bool fullScreen = options_.target == start::HackTarget::FullScreen;
  if (fullScreen && !globals_.layerShell) {
    std::fprintf(stderr, "%s: the compositor offers no layer-shell (zwlr_layer_shell_v1): no full screen here\n",
                 kProgramName);
    return false;
  }
  sprites_ = art::DrawLeafSprites();
  seed_ = nextSeed_ = options_.seed.value_or(SeedFromLocalTime());
  if (fullScreen) {
    // Every picture first: a surface that maps would be in the next copy.
    for (const auto& output : globals_.outputs) AddOutputPart(*output, true);
    for (const auto& part : parts_) {
      const auto output = std::find_if(globals_.outputs.begin(), globals_.outputs.end(),
                                       [&](const auto& o) { return o->name == part->outputName; });
      part->surface = SaverSurface::OverOutput(globals_, **output);
    }
  } else {
    const Output* first = globals_.outputs.empty() ? nullptr : globals_.outputs.front().get();
    const int scale = first ? first->scale : 1;
    const int w = first ? std::max(first->modeWidth / scale / 2, kOwnWindowMinWidth) : kOwnWindowMinWidth;
    const int h = first ? std::max(first->modeHeight / scale / 2, kOwnWindowMinHeight) : kOwnWindowMinHeight;
    auto part = std::make_unique<Part>();
    part->seed = nextSeed_++;
    part->surface = SaverSurface::Window(globals_, w, h, scale, kSaverCaption);
    if (!part->surface) {
      std::fprintf(stderr, "%s: the compositor offers no xdg_wm_base\n", kProgramName);
      return false;
    }
    parts_.push_back(std::move(part));
  }
  globals_.outputReady = [this](Output& output) { OnOutputReady(output); };
  globals_.outputGone = [this](uint32_t name) { OnOutputGone(name); };
  seat_ = std::make_unique<Seat>(globals_.seat, fullScreen, [this](saver::HackEvent e) { Respond(e); });
  if (!options_.musicFile.empty()) music_ = x11::GstMusic::Start(options_.musicFile);
  return true;
}

// `copyPicture`: the output as it is now (at the start); an output that comes later would show the
// saver's own surfaces in a copy, so it starts over the dark backdrop, as a new monitor does on X11.
void WaylandSaver::AddOutputPart(const Output& output, bool copyPicture) {
  auto part = std::make_unique<Part>();
  part->outputName = output.name;
  part->seed = nextSeed_++;
  const bool copy = copyPicture && saver::ChooseBackdrop(options_.target, false) == saver::HackBackdrop::ScreenBeforeMap;
  if (copy) part->picture = CaptureOutput(globals_, output);
  parts_.push_back(std::move(part));
}

// The scene over the picture, at the surface's scale, sized in device pixels; a picture of another
// size (a mode change between the copy and the configure) is laid at the top left over dark.
void WaylandSaver::MakeScene(Part& part) {
  const SaverSurface& s = *part.surface;
  try {
    PixelBuffer backdrop(s.width() * s.scale(), s.height() * s.scale(), saver::kDarkBackdrop);
    if (part.picture) Blit(backdrop, 0, 0, *part.picture, RasterOp::Copy);
    part.picture.reset();
    try {
      part.scene.emplace(backdrop, sprites_, options_.leafCount, std::make_unique<saver::SeededRandom>(part.seed),
                         s.scale());
    } catch (const std::bad_alloc&) {
      part.still = std::move(backdrop);  // no memory for the leaves: the bare picture
    }
  } catch (const std::bad_alloc&) {
    // Out of memory even for the picture: this output shows nothing of ours.
  } catch (const std::length_error&) {
    // An output larger than a picture can index: the same.
  }
}

void WaylandSaver::OnOutputReady(Output& output) {
  if (options_.target != start::HackTarget::FullScreen) return;
  const bool known = std::any_of(parts_.begin(), parts_.end(), [&](const auto& p) { return p->outputName == output.name; });
  if (known) return;
  AddOutputPart(output, false);
  parts_.back()->surface = SaverSurface::OverOutput(globals_, output);
}

// The part goes before the output's proxy does.
void WaylandSaver::OnOutputGone(uint32_t name) {
  std::erase_if(parts_, [&](const auto& p) { return p->outputName == name && name != 0; });
}

// Every surface the compositor wants a frame for and whose pass is due gets one.
void WaylandSaver::ServeParts() {
  const int64_t now = MonotonicNanoseconds();
  for (const auto& part : parts_) {
    if (!part->surface || !part->surface->configured() || part->surface->waitingForFrame()) continue;
    if (!part->scene && part->still.empty() && !part->clock) {
      MakeScene(*part);
      part->clock.emplace(kNanosecondsPerSecond, now);
    }
    if (part->frame().empty()) continue;
    if (part->scene) {
      const int due = part->clock->TakeDuePasses(now);
      for (int i = 0; i < due; ++i) part->surface->Changed(part->scene->RunPass());
    }
    if (part->surface->unshown()) part->surface->Present(part->frame());
  }
  if (options_.target != start::HackTarget::FullScreen)
    for (const auto& part : parts_)
      if (part->surface && part->surface->closed()) Respond(saver::HackEvent::CloseAsked);
  // An output's surface the compositor closed (its output going) is dropped; the output's removal
  // follows.
  std::erase_if(parts_, [](const auto& p) { return p->surface && p->surface->closed() && p->outputName != 0; });
}

// Until the next pass of a surface that may take a frame; forever when every surface waits for the
// compositor (its frame callback or a buffer's release arrives on the connection).
int WaylandSaver::Timeout() const {
  const int64_t now = MonotonicNanoseconds();
  int timeout = kWaitForever;
  for (const auto& part : parts_) {
    if (!part->scene || !part->clock || part->surface->waitingForFrame()) continue;
    if (part->surface->unshown()) continue;  // waits for a buffer's release
    const int ms = static_cast<int>(part->clock->MillisecondsUntilNextPass(now));
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
  fds[kSignals] = {stopSignals_, POLLIN, 0};  // poll skips a negative descriptor
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
    if (TakeStopSignal(stopSignals_)) Respond(saver::HackEvent::Terminated);
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
  parts_.clear();
  seat_.reset();
  if (!connectionLost_) wl_display_flush(globals_.display);
}

}  // namespace

int RunSaver(const start::HackOptions& options) {
  signal(SIGPIPE, SIG_IGN);  // a broken connection is libwayland's to report, not a signal's to kill us
  WaylandSaver saver(options);
  if (!saver.Start()) return 1;
  saver.Run();
  return 0;
}

}  // namespace kovaren::wayland
