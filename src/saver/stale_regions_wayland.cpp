#include "saver/stale_regions_wayland.h"

#include "saver/present_region.h"

namespace kovaren::wayland {

StaleRegions::StaleRegions(int buffers, const Rect& bounds)
    : bounds_(bounds), stale_(static_cast<size_t>(buffers), std::vector<Rect>{bounds}) {}

void StaleRegions::Changed(std::span<const Rect> rects) {
  for (std::vector<Rect>& list : stale_) {
    if (list.size() == 1 && list.front() == bounds_) continue;  // already all of it
    if (list.size() + rects.size() > kMaxStaleRects) {
      list.assign(1, bounds_);
      continue;
    }
    for (const Rect& r : rects) {
      const Rect inside = Intersect(r, bounds_);
      if (!inside.empty()) list.push_back(inside);
    }
  }
}

void StaleRegions::ChangedAll() {
  for (std::vector<Rect>& list : stale_) list.assign(1, bounds_);
}

std::vector<Rect> StaleRegions::Take(int index) {
  std::vector<Rect>& list = stale_.at(static_cast<size_t>(index));
  // A few rectangles come back as they are (an overlap is copied twice, harmlessly); many are
  // covered by a coarse grid, so a long list costs no more than the frame.
  std::vector<Rect> region = saver::PresentRegion(list, bounds_);
  list.clear();
  return region;
}

}  // namespace kovaren::wayland
