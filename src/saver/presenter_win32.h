// Brings the window up to date with one scene's frame after a pass. Only the pixels a pass reports
// are handed over; how, is the method (the saver uses the one that cost least end to end, the
// measuring host compares them all).
#pragma once
#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

#include "gfx/pixel_buffer.h"
#include "platform/dib_canvas_win32.h"

namespace kovaren::win32 {

enum class PresentMethod {
  WholeFrame,    // the plain loop: every pass rebuilds the whole frame and presents all of it (the
                 // yardstick the others are measured against)
  ClippedBox,    // one SetDIBitsToDevice of the dirty region's bounding box, the region as the clip
  EachRect,      // one SetDIBitsToDevice per rectangle of the region
  SectionBlits,  // the rectangles copied into a DIB section, then one BitBlt per rectangle
  FlushedGroups, // one SetDIBitsToDevice per group of nearby rectangles (its bounding box), a flush after each
};

class FramePresenter {
 public:
  // `area`: where the frame lies in the window (window coordinates, the frame's size).
  FramePresenter(PresentMethod method, const Rect& area) : method_(method), area_(area) {}
  FramePresenter(const FramePresenter&) = delete;
  FramePresenter& operator=(const FramePresenter&) = delete;

  // Shows the pixels of `frame` under `dirty` (frame coordinates). Does nothing when nothing is dirty.
  void Present(HDC window, ConstPixelView frame, std::span<const Rect> dirty);
  // Shows the whole frame (a repaint, or the full-frame loop).
  void PresentAll(HDC window, ConstPixelView frame);

 private:
  void PresentClippedBox(HDC window, ConstPixelView frame, const Rect& bounds);
  void PresentSectionBlits(HDC window, ConstPixelView frame);
  void PresentFlushedGroups(HDC window, ConstPixelView frame);
  bool MakeSection(HDC window, ConstPixelView frame);

  PresentMethod method_;
  Rect area_;
  std::vector<Rect> region_;       // this pass's rectangles, frame coordinates
  std::vector<uint8_t> regionData_;  // reused RGNDATA buffer
  DibCanvas section_;               // SectionBlits: the frame's size, made at the first present
};

}  // namespace kovaren::win32
