// The region the saver window clips its one transfer per pass to. A pass reports a few rectangles per
// leaf; building a clip region from hundreds of them costs more than the pixels it saves (region
// union is quadratic in the rectangle count), so many rectangles are first covered by a coarse grid.
#pragma once
#include <span>
#include <vector>

#include "gfx/pixel_buffer.h"

namespace kovaren::saver {

constexpr size_t kExactRegionRects = 64;  // up to this many rectangles are used as they are
constexpr int kRegionCell = 32;           // grid cell, pixels: one leaf box touches at most 2 x 2 cells

// Non-overlapping rectangles inside `bounds` covering every pixel of `dirty` that lies in `bounds`.
// Up to kExactRegionRects (non-empty) rectangles come back clipped but otherwise unchanged (they may
// overlap then); more are replaced by runs of grid cells, one run per grid row, with equal runs of
// neighbouring rows joined, which never overlap.
std::vector<Rect> PresentRegion(std::span<const Rect> dirty, const Rect& bounds);

// Under Wine a window's new pixels reach the X server as one rectangle per flush: the bounding box of
// all that was drawn since the last one. Leaves far apart would make that box nearly the whole
// screen, so they are handed over in groups with a flush after each. A rectangle joins the group
// whose bounding box it grows least, when that box then covers at most `wastePixels` pixels that
// none of its rectangles covers; otherwise it starts a group. Every rectangle lands in one group.
struct PresentGroup {
  Rect bounds;
  long long covered = 0;  // summed area of its rectangles
  std::vector<Rect> rects;
};
constexpr long long kFlushWastePixels = 256 * 256;  // about what one more flush costs, in pixels copied
std::vector<PresentGroup> GroupForFlushes(std::span<const Rect> rects, long long wastePixels);

// Joins a pass's rectangles that lie near each other into fewer, larger boxes, in time linear in their
// number: each rectangle goes to the grid cell of its top-left corner, and within a cell, in the
// order given, a rectangle joins the box being built while that box then covers at most
// `wastePixels` pixels that none of its rectangles covers; otherwise the box is done and a new one
// starts. Every pixel of every rectangle lies in a box; boxes may overlap where a rectangle reaches
// into a neighbouring cell's box. Its buffers are kept between passes.
class NearbyJoiner {
 public:
  NearbyJoiner(int cell, long long wastePixels) : cell_(cell), wastePixels_(wastePixels) {}
  // Valid until the next call.
  std::span<const Rect> Join(std::span<const Rect> rects);

 private:
  int cell_;
  long long wastePixels_;
  std::vector<int> first_;  // per cell: its first rectangle, or -1
  std::vector<int> next_;   // per rectangle: the next in its cell, or -1
  std::vector<Rect> boxes_;
};

}  // namespace kovaren::saver
