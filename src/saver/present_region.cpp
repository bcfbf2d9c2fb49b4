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

}  // namespace kovaren::saver
