// Brings a window up to date with one scene's frame after a pass, handing the X server only the
// rectangles the pass changed: through a shared-memory image (MIT-SHM) where the server offers it and
// can attach the segment, through plain XPutImage otherwise. The segment is marked for removal as
// soon as the server has attached it, so a killed process leaves none behind.
#pragma once
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <span>
#include <vector>

#include "gfx/pixel_buffer.h"
#include "saver/present_region.h"

namespace kovaren::x11 {

// How a pass's rectangles go to the server (the saver uses the one that cost least, kovaren and the
// server together; bench/x11_cpu.sh compares them).
enum class PutMethod {
  EachRect,    // one put per rectangle
  ClippedBox,  // one put of their bounding box, the rectangles as the clip list
  Grouped,     // nearby rectangles joined into boxes (saver::NearbyJoiner), one put per box
};

class FramePresenter {
 public:
  // `area`: where the frame lies in `window` (window coordinates, the frame's size). `visual` and
  // `depth`: the window's.
  FramePresenter(Display* display, Window window, Visual* visual, int depth, const Rect& area,
                 PutMethod method = PutMethod::EachRect);
  ~FramePresenter();
  FramePresenter(const FramePresenter&) = delete;
  FramePresenter& operator=(const FramePresenter&) = delete;

  // Shows the pixels of `frame` under `dirty` (frame coordinates). Does nothing when nothing is dirty.
  void Present(ConstPixelView frame, std::span<const Rect> dirty);
  // Shows the whole frame (an Expose, the first frame).
  void PresentAll(ConstPixelView frame);

  bool shared() const { return shared_; }
  // The image's pixels, where they are our own pixel words: a scene that draws into them leaves
  // nothing to copy before a put. Empty otherwise (each put then converts its rectangles). Valid
  // while the presenter lives.
  PixelView storage() const { return storage_; }

 private:
  bool AttachShared(Visual* visual, int depth);
  void PutRect(ConstPixelView frame, const Rect& r);
  void Send(const Rect& r);

  Display* display_;
  Window window_;
  Rect area_;
  GC gc_ = nullptr;
  XImage* image_ = nullptr;  // the frame's size, in the window's format
  XShmSegmentInfo segment_{};
  bool shared_ = false;
  PixelView storage_;
  PutMethod method_;
  saver::NearbyJoiner joiner_;  // Grouped
  std::vector<XRectangle> clip_;  // ClippedBox: this pass's rectangles, window coordinates, reused
};

}  // namespace kovaren::x11
