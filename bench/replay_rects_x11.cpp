// The least any client can cost for kovaren's picture: the rectangles kovaren's passes hand the X
// server (the same count, seed and screen size), worked out before the clock starts and then sent by
// a client that draws nothing, 60 times a second, as kovaren sends them (one shared-memory image
// clipped to the pass's rectangles). What the X server then spends is what moving those pixels costs
// it; what this client spends is waking up and talking to the server. A measuring program for
// bench/x11_cpu.sh, asserting nothing:
//
//   bench_replay_rects_x11 COUNT SEED WARM_PASSES      (runs until killed)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "art/leaf_art.h"
#include "saver/leaf_scene.h"

namespace {

constexpr int kPassesPerSecond = 60;
constexpr int kRecordedPasses = 15 * kPassesPerSecond;  // longer than a reading, then played again
constexpr long kNanosecondsPerPass = 1'000'000'000L / kPassesPerSecond;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s COUNT SEED WARM_PASSES\n", argv[0]);
    return 2;
  }
  const int count = std::atoi(argv[1]);
  const auto seed = std::strtoull(argv[2], nullptr, 10);
  const int warmPasses = std::atoi(argv[3]);
  Display* display = XOpenDisplay(nullptr);
  if (!display || !XShmQueryExtension(display)) {
    std::fprintf(stderr, "replay: no X display with MIT-SHM\n");
    return 1;
  }
  const int screen = DefaultScreen(display);
  const int w = DisplayWidth(display, screen), h = DisplayHeight(display, screen);

  // The scene's rectangles, pass after pass, from the time the reading starts.
  kovaren::saver::LeafScene scene(kovaren::PixelBuffer(w, h, kovaren::Rgb(0x30, 0x60, 0xa0)),
                                  kovaren::art::DrawLeafSprites(), count,
                                  std::make_unique<kovaren::saver::SeededRandom>(seed));
  for (int i = 0; i < warmPasses; ++i) scene.RunPass();
  std::vector<std::vector<XRectangle>> passes(kRecordedPasses);
  for (auto& rects : passes) {
    for (const kovaren::Rect& r : scene.RunPass()) {
      rects.push_back({static_cast<short>(r.x), static_cast<short>(r.y), static_cast<unsigned short>(r.w),
                       static_cast<unsigned short>(r.h)});
    }
  }

  const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(w),
                                            static_cast<unsigned>(h), 0, 0, 0);
  XMapRaised(display, window);
  GC gc = XCreateGC(display, window, 0, nullptr);
  XShmSegmentInfo segment{};
  XImage* image = XShmCreateImage(display, DefaultVisual(display, screen),
                                  static_cast<unsigned>(DefaultDepth(display, screen)), ZPixmap, nullptr, &segment,
                                  static_cast<unsigned>(w), static_cast<unsigned>(h));
  if (!image) return 1;
  segment.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(h),
                         IPC_CREAT | 0600);
  if (segment.shmid < 0) return 1;
  segment.shmaddr = image->data = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
  if (segment.shmaddr == reinterpret_cast<char*>(-1)) return 1;
  XShmAttach(display, &segment);
  XSync(display, False);
  shmctl(segment.shmid, IPC_RMID, nullptr);

  timespec due{};
  clock_gettime(CLOCK_MONOTONIC, &due);
  for (size_t pass = 0;; pass = (pass + 1) % passes.size()) {
    auto& rects = passes[pass];
    if (!rects.empty()) {
      int left = w, top = h, right = 0, bottom = 0;
      for (const XRectangle& r : rects) {
        left = std::min<int>(left, r.x);
        top = std::min<int>(top, r.y);
        right = std::max(right, r.x + r.width);
        bottom = std::max(bottom, r.y + r.height);
      }
      XSetClipRectangles(display, gc, 0, 0, rects.data(), static_cast<int>(rects.size()), Unsorted);
      XShmPutImage(display, window, gc, image, left, top, left, top, static_cast<unsigned>(right - left),
                   static_cast<unsigned>(bottom - top), False);
    }
    XFlush(display);
    due.tv_nsec += kNanosecondsPerPass;
    if (due.tv_nsec >= 1'000'000'000L) {
      due.tv_nsec -= 1'000'000'000L;
      ++due.tv_sec;
    }
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr);
  }
}
