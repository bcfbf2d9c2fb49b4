#include "settings_dialog/zoom.h"

#include <limits>

namespace kovaren {
namespace {

int16_t Narrowed(int32_t v) {
  if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max()) return 0;
  return static_cast<int16_t>(v);
}

}  // namespace

ZoomPoint ZoomPointFromCursor(std::optional<ScreenPoint> cursor) {
  if (!cursor) return {};
  return {Narrowed(cursor->x), Narrowed(cursor->y)};
}

ScreenRect PointRect(ZoomPoint p) { return {p.x, p.y, p.x, p.y}; }

}  // namespace kovaren
