#include "saver/presenter_win32.h"

#include <algorithm>

#include "platform/gdi_win32.h"
#include "saver/present_region.h"

namespace kovaren::win32 {

void FramePresenter::Present(HDC window, ConstPixelView frame, std::span<const Rect> dirty) {
  if (dirty.empty()) return;
  // Hundreds of small rectangles cost more per call than their pixels: PresentRegion covers many by a
  // coarse grid first.
  region_ = saver::PresentRegion(dirty, frame.bounds());
  Rect bounds;
  for (const Rect& r : region_) bounds = Union(bounds, r);
  if (bounds.empty()) return;
  switch (method_) {
    case PresentMethod::WholeFrame:
      PresentAll(window, frame);
      return;
    case PresentMethod::ClippedBox:
      PresentClippedBox(window, frame, bounds);
      return;
    case PresentMethod::EachRect:
      for (const Rect& r : region_) PresentPixels(window, frame, r, {area_.x, area_.y});
      return;
    case PresentMethod::SectionBlits:
      PresentSectionBlits(window, frame);
      return;
    case PresentMethod::FlushedGroups:
      PresentFlushedGroups(window, frame);
      return;
  }
}

// Wine sends a window's drawing to the X server whenever the thread looks for input and finds none,
// as one rectangle round all that was drawn since. A look after each group keeps that rectangle to
// the group. Asking for a key's state is the cheapest look (a look at the message queue also asks
// the Wine server); its answer is not needed. On Windows the look is all it is.
void FramePresenter::PresentFlushedGroups(HDC window, ConstPixelView frame) {
  for (const saver::PresentGroup& group : saver::GroupForFlushes(region_, saver::kFlushWastePixels)) {
    // The frame is whole everywhere, so the group's box goes over in one call: its few unchanged
    // pixels cost less than a call per rectangle.
    PresentPixels(window, frame, group.bounds, {area_.x, area_.y});
    GetAsyncKeyState(VK_SHIFT);
  }
}

void FramePresenter::PresentAll(HDC window, ConstPixelView frame) {
  PresentPixels(window, frame, frame.bounds(), {area_.x, area_.y});
}

// One transfer of the bounding box with the region selected as the clip: the screen goes from one
// whole frame to the next in a single GDI call.
void FramePresenter::PresentClippedBox(HDC window, ConstPixelView frame, const Rect& bounds) {
  regionData_.resize(sizeof(RGNDATAHEADER) + region_.size() * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(regionData_.data());
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = static_cast<DWORD>(region_.size());
  data->rdh.nRgnSize = static_cast<DWORD>(region_.size() * sizeof(RECT));
  // The clip region is in device (window) coordinates.
  data->rdh.rcBound = {area_.x + bounds.x, area_.y + bounds.y, area_.x + bounds.right(), area_.y + bounds.bottom()};
  auto* rects = reinterpret_cast<RECT*>(data->Buffer);
  for (size_t i = 0; i < region_.size(); ++i) {
    const Rect& r = region_[i];
    rects[i] = {area_.x + r.x, area_.y + r.y, area_.x + r.right(), area_.y + r.bottom()};
  }
  HRGN clip = ExtCreateRegion(nullptr, static_cast<DWORD>(regionData_.size()), data);
  if (clip) SelectClipRgn(window, clip);  // without a region the box is copied whole: still correct
  PresentPixels(window, frame, bounds, {area_.x, area_.y});
  if (clip) {
    SelectClipRgn(window, nullptr);
    DeleteObject(clip);
  }
}

bool FramePresenter::MakeSection(HDC window, ConstPixelView frame) {
  if (!section_) section_ = DibCanvas(window, frame.width(), frame.height());
  return static_cast<bool>(section_);
}

void FramePresenter::PresentSectionBlits(HDC window, ConstPixelView frame) {
  if (!MakeSection(window, frame)) {  // no section: hand the rectangles over directly
    for (const Rect& r : region_) PresentPixels(window, frame, r, {area_.x, area_.y});
    return;
  }
  GdiFlush();  // GDI may still be reading the section from the last pass
  for (const Rect& r : region_) {
    for (int y = r.y; y < r.bottom(); ++y) {
      std::copy_n(frame.row(y) + r.x, r.w, section_.row(y) + r.x);
    }
  }
  for (const Rect& r : region_) {
    BitBlt(window, area_.x + r.x, area_.y + r.y, r.w, r.h, section_.dc(), r.x, r.y, SRCCOPY);
  }
}

}  // namespace kovaren::win32
