#include "saver/present_region.h"

#include <algorithm>

namespace kovaren::saver {

std::vector<Rect> PresentRegion(std::span<const Rect> dirty, const Rect& bounds) {
  std::vector<Rect> clipped;
  clipped.reserve(dirty.size());
  for (const Rect& r : dirty) {
    const Rect c = Intersect(r, bounds);
    if (!c.empty()) clipped.push_back(c);
  }
  if (clipped.size() <= kExactRegionRects) return clipped;

  // Mark the cells each rectangle touches.
  const int columns = (bounds.w + kRegionCell - 1) / kRegionCell;
  const int rows = (bounds.h + kRegionCell - 1) / kRegionCell;
  std::vector<uint8_t> marked(static_cast<size_t>(columns) * static_cast<size_t>(rows), 0);
  for (const Rect& r : clipped) {
    const int c0 = (r.x - bounds.x) / kRegionCell, c1 = (r.right() - 1 - bounds.x) / kRegionCell;
    const int r0 = (r.y - bounds.y) / kRegionCell, r1 = (r.bottom() - 1 - bounds.y) / kRegionCell;
    for (int row = r0; row <= r1; ++row)
      std::fill(marked.begin() + row * columns + c0, marked.begin() + row * columns + c1 + 1, uint8_t{1});
  }

  // Runs per grid row; a run equal to one that ended on the row above extends it downwards.
  std::vector<Rect> cover;
  std::vector<size_t> openAbove, openHere;  // indices into cover of the runs ending on the last row
  for (int row = 0; row < rows; ++row) {
    const int y = bounds.y + row * kRegionCell;
    const int h = std::min(kRegionCell, bounds.bottom() - y);
    openHere.clear();
    for (int col = 0; col < columns;) {
      if (!marked[row * columns + col]) {
        ++col;
        continue;
      }
      int end = col;
      while (end < columns && marked[row * columns + end]) ++end;
      const int x = bounds.x + col * kRegionCell;
      const int w = std::min(end * kRegionCell, bounds.w) - col * kRegionCell;
      const auto same = std::find_if(openAbove.begin(), openAbove.end(), [&](size_t i) {
        return cover[i].x == x && cover[i].w == w;
      });
      if (same != openAbove.end()) {
        cover[*same].h += h;
        openHere.push_back(*same);
      } else {
        cover.push_back({x, y, w, h});
        openHere.push_back(cover.size() - 1);
      }
      col = end;
    }
    std::swap(openAbove, openHere);
  }
  return cover;
}

std::vector<PresentGroup> GroupForFlushes(std::span<const Rect> rects, long long wastePixels) {
  const auto area = [](const Rect& r) { return r.empty() ? 0LL : static_cast<long long>(r.w) * r.h; };
  std::vector<Rect> sorted(rects.begin(), rects.end());
  std::sort(sorted.begin(), sorted.end(), [](const Rect& a, const Rect& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
  std::vector<PresentGroup> groups;
  for (const Rect& r : sorted) {
    if (r.empty()) continue;
    PresentGroup* best = nullptr;
    long long bestWaste = 0;
    for (PresentGroup& g : groups) {
      const long long waste = area(Union(g.bounds, r)) - g.covered - area(r);
      if (waste <= wastePixels && (!best || waste < bestWaste)) {
        best = &g;
        bestWaste = waste;
      }
    }
    if (!best) best = &groups.emplace_back();
    best->bounds = Union(best->bounds, r);
    best->covered += area(r);
    best->rects.push_back(r);
  }
  return groups;
}

std::span<const Rect> NearbyJoiner::Join(std::span<const Rect> rects) {
  const auto area = [](const Rect& r) { return static_cast<long long>(r.w) * r.h; };
  boxes_.clear();
  Rect extent;
  for (const Rect& r : rects) extent = Union(extent, r);
  if (extent.empty()) return boxes_;
  const auto cellOf = [&](int v, int origin) { return (v - origin) / cell_; };
  const int columns = cellOf(extent.right() - 1, extent.x) + 1, rows = cellOf(extent.bottom() - 1, extent.y) + 1;
  first_.assign(static_cast<size_t>(columns) * static_cast<size_t>(rows), -1);
  next_.assign(rects.size(), -1);
  // Each cell's list in the order given (built back to front).
  for (size_t i = rects.size(); i-- > 0;) {
    const Rect& r = rects[i];
    if (r.empty()) continue;
    int& head = first_[static_cast<size_t>(cellOf(r.y, extent.y)) * columns + cellOf(r.x, extent.x)];
    next_[i] = head;
    head = static_cast<int>(i);
  }
  for (const int head : first_) {
    Rect box;
    long long covered = 0;
    for (int i = head; i >= 0; i = next_[i]) {
      const Rect& r = rects[i];
      const Rect both = Union(box, r);
      if (!box.empty() && area(both) - covered - area(r) > wastePixels_) {
        boxes_.push_back(box);
        box = r;
        covered = area(r);
        continue;
      }
      box = both;
      covered += area(r);
    }
    if (!box.empty()) boxes_.push_back(box);
  }
  return boxes_;
}

}  // namespace kovaren::saver
