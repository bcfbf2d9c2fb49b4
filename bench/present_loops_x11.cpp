// Two clients to measure kovaren beside, for bench/x11_cpu.sh. Each paints a window over the whole
// screen 60 times a second until killed, and asserts nothing:
//
//   bench_present_loops_x11 replay COUNT SEED WARM_PASSES
//       kovaren's own rectangles for COUNT (as --count) and SEED, from WARM_PASSES on, worked out
//       before the clock starts and then handed pass by pass to kovaren's presenter: the X server
//       gets exactly kovaren's requests from a client that draws nothing. What the server spends is
//       what taking kovaren's picture costs it, whoever draws it. Prints how many leaves are on the
//       screen after WARM_PASSES.
//   bench_present_loops_x11 replay-clipped COUNT SEED WARM_PASSES
//       the same, each pass's rectangles sent as one clipped put of their bounding box.
//   bench_present_loops_x11 replay-grouped COUNT SEED WARM_PASSES
//       the same, nearby rectangles joined into boxes, one put per box.
//   bench_present_loops_x11 full-frame
//       the plain way: the whole frame sent with XPutImage every pass, each waited for.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "saver/built_in_pictures.h"
#include "saver/leaf_scene.h"
#include "saver/presenter_x11.h"

namespace {

using kovaren::PixelBuffer;
using kovaren::Rect;

constexpr int kPassesPerSecond = 60;
constexpr int kRecordedPasses = 15 * kPassesPerSecond;  // longer than a reading, then played again
constexpr long kNanosecondsPerSecond = 1'000'000'000L;
constexpr int kBitmapPad = 32;
const kovaren::Pixel kDesktop = kovaren::Rgb(0x30, 0x60, 0xa0);

// Calls pass(i) for i = 0, 1, ... at 60 passes a second, for ever.
template <typename F>
[[noreturn]] void Paced(F&& pass) {
  timespec due{};
  clock_gettime(CLOCK_MONOTONIC, &due);
  for (long i = 0;; ++i) {
    pass(i);
    due.tv_nsec += kNanosecondsPerSecond / kPassesPerSecond;
    if (due.tv_nsec >= kNanosecondsPerSecond) {
      due.tv_nsec -= kNanosecondsPerSecond;
      ++due.tv_sec;
    }
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr);
  }
}

[[noreturn]] void Replay(Display* display, Window window, kovaren::x11::PutMethod method, int count,
                         unsigned long long seed, int warmPasses) {
  const int screen = DefaultScreen(display);
  const int w = DisplayWidth(display, screen), h = DisplayHeight(display, screen);
  const auto sprites = kovaren::saver::BuiltInSprites();
  if (!sprites) std::exit(1);
  kovaren::saver::LeafScene scene(PixelBuffer(w, h, kDesktop), *sprites, count,
                                  std::make_unique<kovaren::saver::SeededRandom>(seed));
  kovaren::x11::FramePresenter presenter(display, window, DefaultVisual(display, screen), DefaultDepth(display, screen),
                                         {0, 0, w, h}, method);
  // Drawn into the presenter's image as kovaren does, so replaying the passes copies no pixels.
  scene.DrawInto(presenter.storage());
  for (int i = 0; i < warmPasses; ++i) scene.RunPass();
  std::printf("%d of %zu leaves on the screen after %d passes\n", scene.shownCount(), scene.leaves().size(), warmPasses);
  std::fflush(stdout);
  std::vector<std::vector<Rect>> passes(kRecordedPasses);
  for (auto& rects : passes) {
    const auto dirty = scene.RunPass();
    rects.assign(dirty.begin(), dirty.end());
  }
  const kovaren::ConstPixelView frame = scene.frame();
  Paced([&](long i) {
    presenter.Present(frame, passes[static_cast<size_t>(i) % passes.size()]);
    XFlush(display);
  });
}

[[noreturn]] void FullFrame(Display* display, Window window) {
  const int screen = DefaultScreen(display);
  const int w = DisplayWidth(display, screen), h = DisplayHeight(display, screen);
  PixelBuffer frame(w, h, kDesktop);
  XImage* image = XCreateImage(display, DefaultVisual(display, screen), static_cast<unsigned>(DefaultDepth(display, screen)),
                               ZPixmap, 0, reinterpret_cast<char*>(frame.pixels().data()), static_cast<unsigned>(w),
                               static_cast<unsigned>(h), kBitmapPad, 0);
  if (!image) std::exit(1);
  GC gc = XCreateGC(display, window, 0, nullptr);
  Paced([&](long) {
    XPutImage(display, window, gc, image, 0, 0, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h));
    XSync(display, False);  // the server has it all before the next pass
  });
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view way = argc > 1 ? argv[1] : "";
  const bool replay = way == "replay" || way == "replay-clipped" || way == "replay-grouped";
  if (!((replay && argc == 5) || (way == "full-frame" && argc == 2))) {
    std::fprintf(stderr, "usage: %s replay|replay-clipped|replay-grouped COUNT SEED WARM_PASSES | full-frame\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "present loops: cannot open the display\n");
    return 1;
  }
  const int screen = DefaultScreen(display);
  const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0,
                                            static_cast<unsigned>(DisplayWidth(display, screen)),
                                            static_cast<unsigned>(DisplayHeight(display, screen)), 0, 0, 0);
  XMapRaised(display, window);
  XSync(display, False);
  if (way == "full-frame") FullFrame(display, window);
  const auto method = way == "replay"           ? kovaren::x11::PutMethod::EachRect
                      : way == "replay-clipped" ? kovaren::x11::PutMethod::ClippedBox
                                                : kovaren::x11::PutMethod::Grouped;
  Replay(display, window, method, std::atoi(argv[2]), std::strtoull(argv[3], nullptr, 10), std::atoi(argv[4]));
}
