// The clients bench/wayland_cpu.sh measures kovaren beside: one overlay surface over the first
// output, presented through kovaren's own surface code at the same 60 passes a second on frame
// callbacks. Each runs until killed and asserts nothing.
//   bench_full_frame_wayland           every pixel changed and damaged every pass
//   bench_full_frame_wayland SIDE      only a SIDE x SIDE square at the top left changes: what the
//                                      compositor costs per frame for next to nothing
//   bench_full_frame_wayland replay COUNT SEED WARM_PASSES
//                                      kovaren's own changed rectangles for COUNT (as --count) and
//                                      SEED from WARM_PASSES on, worked out before the clock starts,
//                                      damaged pass by pass over a picture that never changes: the
//                                      compositor gets exactly kovaren's damage from a client that
//                                      draws nothing, so its share is what showing kovaren's leaves
//                                      costs it, whoever draws them
#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/saver_process_posix.h"
#include "saver/built_in_pictures.h"
#include "saver/globals_wayland.h"
#include "saver/leaf_scene.h"
#include "saver/pass_clock.h"
#include "saver/saver_surface_wayland.h"

namespace {

using kovaren::Rect;

constexpr kovaren::Pixel kColours[] = {kovaren::Rgb(0x30, 0x60, 0xa0), kovaren::Rgb(0x40, 0x70, 0xb0)};
constexpr int kRecordedPasses = 15 * 60;  // longer than a reading, then played again

// Each pass's changed rectangles of kovaren's scene for COUNT and SEED, from WARM_PASSES on.
std::vector<std::vector<Rect>> KovarenRects(const Rect& bounds, int count, unsigned long long seed, int warmPasses) {
  const auto sprites = kovaren::saver::BuiltInSprites();
  if (!sprites) std::exit(1);
  kovaren::saver::LeafScene scene(kovaren::PixelBuffer(bounds.w, bounds.h, kColours[0]), *sprites, count,
                                  std::make_unique<kovaren::saver::SeededRandom>(seed));
  for (int i = 0; i < warmPasses; ++i) scene.RunPass();
  std::printf("%d of %zu leaves on the screen after %d passes\n", scene.shownCount(), scene.leaves().size(), warmPasses);
  std::fflush(stdout);
  std::vector<std::vector<Rect>> passes(kRecordedPasses);
  for (auto& rects : passes) {
    const auto changed = scene.RunPass();
    rects.assign(changed.begin(), changed.end());
  }
  return passes;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kovaren;
  using namespace kovaren::wayland;
  const bool replay = argc > 1 && std::string_view(argv[1]) == "replay";
  if (replay ? argc != 5 : argc > 2) {
    std::fprintf(stderr, "usage: %s [SIDE | replay COUNT SEED WARM_PASSES]\n", argv[0]);
    return 2;
  }
  Globals globals;
  globals.display = wl_display_connect(nullptr);
  if (!globals.display) return std::fputs("no compositor\n", stderr), 1;
  BindGlobals(globals);
  wl_display_roundtrip(globals.display);
  wl_display_roundtrip(globals.display);
  if (globals.outputs.empty()) return std::fputs("no output\n", stderr), 1;
  auto surface = SaverSurface::OverOutput(globals, *globals.outputs.front());
  if (!surface) return std::fputs("no layer-shell\n", stderr), 1;
  while (!surface->configured())
    if (wl_display_dispatch(globals.display) < 0) return 1;
  PixelBuffer frame(surface->width() * surface->scale(), surface->height() * surface->scale(), kColours[0]);

  // pass(i): changes the frame (or not) and tells the surface what changed.
  std::function<void(int)> pass;
  std::vector<std::vector<Rect>> recorded;
  if (replay) {
    recorded = KovarenRects(frame.bounds(), std::atoi(argv[2]), std::strtoull(argv[3], nullptr, 10), std::atoi(argv[4]));
    pass = [&](int i) { surface->Changed(recorded[static_cast<size_t>(i) % recorded.size()]); };
  } else {
    const int side = argc > 1 ? std::atoi(argv[1]) : 0;
    const Rect changed = side > 0 ? Rect{0, 0, side, side} : frame.bounds();
    pass = [&, changed](int i) {
      frame.fill(changed, kColours[i % 2]);
      surface->Changed(std::span(&changed, 1));
    };
  }
  saver::PassClock clock(kNanosecondsPerSecond, MonotonicNanoseconds());
  int passes = 0;
  while (true) {
    int timeout = -1;
    if (!surface->waitingForFrame()) {
      const int due = clock.TakeDuePasses(MonotonicNanoseconds());
      if (due > 0) {
        for (int i = 0; i < due; ++i) pass(passes++);
        surface->Present(frame);
      } else {
        timeout = static_cast<int>(clock.MillisecondsUntilNextPass(MonotonicNanoseconds()));
      }
    }
    if (wl_display_flush(globals.display) < 0) return 1;
    pollfd fd{wl_display_get_fd(globals.display), POLLIN, 0};
    if (poll(&fd, 1, timeout) > 0 && wl_display_dispatch(globals.display) < 0) return 0;
  }
}
