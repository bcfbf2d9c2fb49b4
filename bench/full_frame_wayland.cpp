// The client bench/wayland_cpu.sh measures kovaren beside: one overlay surface over the first
// output, presented through kovaren's own surface code at the same 60 passes a second on frame
// callbacks, but with every pixel changed and damaged every pass. Runs until killed.
//   bench_full_frame_wayland [SIDE]   only a SIDE x SIDE square at the top left changes instead: what
//                                     the compositor costs per frame for next to nothing
#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/saver_process_posix.h"
#include "saver/globals_wayland.h"
#include "saver/pass_clock.h"
#include "saver/saver_surface_wayland.h"

namespace {

constexpr kovaren::Pixel kColours[] = {kovaren::Rgb(0x30, 0x60, 0xa0), kovaren::Rgb(0x40, 0x70, 0xb0)};

}  // namespace

int main(int argc, char** argv) {
  using namespace kovaren;
  using namespace kovaren::wayland;
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
  PixelBuffer frame(surface->width() * surface->scale(), surface->height() * surface->scale());
  const int side = argc > 1 ? std::atoi(argv[1]) : 0;
  const Rect changed = side > 0 ? Rect{0, 0, side, side} : frame.bounds();
  saver::PassClock clock(kNanosecondsPerSecond, MonotonicNanoseconds());
  int pass = 0;
  while (true) {
    int timeout = -1;
    if (!surface->waitingForFrame()) {
      const int due = clock.TakeDuePasses(MonotonicNanoseconds());
      if (due > 0) {
        pass += due;
        frame.fill(changed, kColours[pass % 2]);
        surface->Changed(std::span(&changed, 1));
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
