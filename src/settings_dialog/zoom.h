// The point the settings dialog's caption zooms out of when it opens and back into when it closes:
// the mouse pointer's screen position at load, or the screen's top-left corner when it is unknown.
#pragma once
#include <cstdint>
#include <optional>

namespace kovaren {

struct ScreenPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// ZoomX, ZoomY are 16-bit: a coordinate that does not fit one (no real screen has such) keeps its
// start value 0, as does everything when the cursor position could not be read.
struct ZoomPoint {
  int16_t x = 0;
  int16_t y = 0;
  bool operator==(const ZoomPoint&) const = default;
};

ZoomPoint ZoomPointFromCursor(std::optional<ScreenPoint> cursor);

// A rectangle by its edges, as the window manager gives and takes them.
struct ScreenRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const ScreenRect&) const = default;
};

// The rectangle without width or height at the zoom point (each coordinate widened with sign).
ScreenRect PointRect(ZoomPoint p);

}  // namespace kovaren
