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

}  // namespace kovaren::saver
