// The point the settings dialog's caption zooms out of when it opens and back into when it closes:
// the mouse pointer's screen position at load, or the screen's top-left corner when it is unknown.
#pragma once
#include <cstdint>
#include <optional>

#include "gfx/screen_geometry.h"

namespace kovaren {

// The point's coordinates are 16-bit: a coordinate that does not fit one (no real screen has such) keeps its
// start value 0, as does everything when the cursor position could not be read.
struct ZoomPoint {
  int16_t x = 0;
  int16_t y = 0;
  bool operator==(const ZoomPoint&) const = default;
};

ZoomPoint ZoomPointFromCursor(std::optional<ScreenPoint> cursor);

// The rectangle without width or height at the zoom point (each coordinate widened with sign).
ScreenRect PointRect(ZoomPoint p);

}  // namespace kovaren
