// Positions on the screen as the window manager gives and takes them: signed 32-bit pixels, left and
// above the primary screen's corner negative. Pictures measure in Rect (pixel_buffer.h) instead.
#pragma once
#include <cstdint>

namespace kovaren {

struct ScreenPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// A rectangle by its edges, as GetWindowRect reports it and DrawAnimatedRects takes it.
struct ScreenRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const ScreenRect&) const = default;
};

}  // namespace kovaren
