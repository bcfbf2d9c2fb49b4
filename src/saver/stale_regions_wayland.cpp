#include "saver/stale_regions_wayland.h"

#include <utility>

namespace kovaren::wayland {
namespace {

// Adds `rects`, clipped to `bounds`, to `list`; a list grown past kMaxStaleRects becomes `bounds`.
void Add(std::vector<Rect>& list, std::span<const Rect> rects, const Rect& bounds) {
  if (list.size() == 1 && list.front() == bounds) return;  // already all of it
  if (list.size() + rects.size() > kMaxStaleRects) {
    list.assign(1, bounds);
    return;
  }
  for (const Rect& r : rects) {
    const Rect inside = Intersect(r, bounds);
    if (!inside.empty()) list.push_back(inside);
  }
}

}  // namespace

StaleRegions::StaleRegions(int buffers, const Rect& bounds)
    : bounds_(bounds), stale_(static_cast<size_t>(buffers), std::vector<Rect>{bounds}) {}

void StaleRegions::Changed(std::span<const Rect> rects) {
  Add(sinceCommit_, rects, bounds_);
  for (std::vector<Rect>& list : stale_) Add(list, rects, bounds_);
}

void StaleRegions::ChangedAll() {
  sinceCommit_.assign(1, bounds_);
  for (std::vector<Rect>& list : stale_) list.assign(1, bounds_);
}

StaleRegions::Update StaleRegions::Take(int index) {
  std::vector<Rect>& list = stale_.at(static_cast<size_t>(index));
  // The rectangles come back as they are, however many: an overlap is copied twice, harmlessly, and
  // a coarse grid would copy and damage several times their area (a leaf's box touches up to four
  // cells), which the compositor pays for too. Add() keeps a list short of the whole frame's cost.
  // The first commit shows the surface for the first time: all of it is new.
  Update update{std::move(list), committed_ ? std::move(sinceCommit_) : std::vector<Rect>{bounds_}};
  list.clear();
  sinceCommit_.clear();
  committed_ = true;
  return update;
}

}  // namespace kovaren::wayland
