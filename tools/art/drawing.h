// Plane geometry the artwork families share for drawing silhouettes. The icon and cursor files are
// written with gfx/little_endian.h.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace kovaren::art {

struct Point {
  double x, y;
};

// Even-odd rule: true when p lies inside the closed polygon.
inline bool Inside(const std::vector<Point>& poly, Point p) {
  bool inside = false;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const Point a = poly[i], b = poly[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

inline double DistanceToSegment(Point p, Point a, Point b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

}  // namespace kovaren::art
