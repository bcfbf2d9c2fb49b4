// The settings dialog's painted looks: the vertical gradient behind everything (dark blue-black at
// the top and bottom edges, pale lavender-white across the middle) and the panel covered with
// copies of the brushed-metal strip. Pure functions over pixel buffers.
#pragma once
#include <vector>

#include "gfx/pixel_buffer.h"

namespace kovaren::dialog {

// The colour of each gradient row for a client area `height` pixels high: rows 0 to the rounded
// height inclusive, one more than the area holds. Empty for a height of zero or less.
std::vector<Pixel> GradientRows(double height);
// Paints the gradient over the whole buffer, one flat colour per row.
void PaintBackdropGradient(PixelBuffer& target);

struct TilePosition {
  int x = 0;
  int y = 0;
  bool operator==(const TilePosition&) const = default;
};
// Where copies of a strip (stripW x stripH) go to cover a target (targetW x targetH), in the order
// they are made: down each column until a copy starts below the target's height, then the next
// column, until a column starts right of the target's width (both tests strict). Empty for a strip
// without area, which could never cover anything.
std::vector<TilePosition> TilePositions(int stripW, int stripH, int targetW, int targetH);
// Covers `target` with copies of `strip`, clipped to the target.
void TileBackground(PixelBuffer& target, const PixelBuffer& strip);

// The dialog's backdrop: the gradient over a client area of the given size with the panel, tiled
// with `strip`, on top of it.
PixelBuffer ComposeBackdrop(int clientW, int clientH, const PixelBuffer& strip);

}  // namespace kovaren::dialog
