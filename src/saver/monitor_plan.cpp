#include "saver/monitor_plan.h"

#include <algorithm>
#include <array>
#include <climits>

namespace kovaren::saver {
namespace {

long long Area(const Rect& r) { return r.empty() ? 0 : static_cast<long long>(r.w) * r.h; }

// A reported rectangle with its far edges kept inside the int range, so later sums cannot overflow;
// empty when it has no size.
Rect Sane(const Rect& r) {
  if (r.w <= 0 || r.h <= 0) return {};
  const long long right = std::min<long long>(static_cast<long long>(r.x) + r.w, INT_MAX);
  const long long bottom = std::min<long long>(static_cast<long long>(r.y) + r.h, INT_MAX);
  return {r.x, r.y, static_cast<int>(right - r.x), static_cast<int>(bottom - r.y)};
}

// The largest part of `r` outside `taken`: one of the four strips beside it (the first on a tie).
Rect LargestPartOutside(const Rect& r, const Rect& taken) {
  if (Intersect(r, taken).empty()) return r;
  const std::array<Rect, 4> strips = {
      Rect{r.x, r.y, taken.x - r.x, r.h},                   // left of it
      Rect{taken.right(), r.y, r.right() - taken.right(), r.h},  // right of it
      Rect{r.x, r.y, r.w, taken.y - r.y},                   // above it
      Rect{r.x, taken.bottom(), r.w, r.bottom() - taken.bottom()},  // below it
  };
  Rect best;
  for (const Rect& s : strips)
    if (Area(s) > Area(best)) best = s;
  return best;
}

}  // namespace

int ScaleForDpi(int dpi) {
  if (dpi <= 0) return kMinScale;
  const long long rounded = (static_cast<long long>(dpi) + kBaseDpi / 2) / kBaseDpi;
  return static_cast<int>(std::clamp<long long>(rounded, kMinScale, kMaxScale));
}

MonitorPlan PlanMonitors(const Rect& virtualScreen, std::span<const MonitorReport> monitors) {
  MonitorPlan plan;
  plan.window = Sane(virtualScreen);
  if (plan.window.empty()) {
    for (const MonitorReport& m : monitors) plan.window = Union(plan.window, Sane(m.bounds));
  }
  if (plan.window.empty()) return plan;

  // The primary monitor is planned first, so an overlap never costs it its scene.
  std::vector<const MonitorReport*> order;
  for (const MonitorReport& m : monitors)
    if (m.primary) order.push_back(&m);
  for (const MonitorReport& m : monitors)
    if (!m.primary) order.push_back(&m);

  std::vector<Rect> taken;  // desktop coordinates
  for (const MonitorReport* m : order) {
    Rect part = Intersect(Sane(m->bounds), plan.window);
    for (const Rect& t : taken) part = LargestPartOutside(part, t);
    if (part.empty()) continue;
    taken.push_back(part);
    const int scale = std::min({ScaleForDpi(m->dpi), part.w, part.h});
    plan.scenes.push_back({{part.x - plan.window.x, part.y - plan.window.y, part.w, part.h}, scale});
  }
  return plan;
}

MonitorPlan PlanWindow(const Rect& window, std::span<const MonitorReport> monitors, SceneLayout layout) {
  if (layout == SceneLayout::PerMonitor) {
    MonitorPlan plan = PlanMonitors(window, monitors);
    if (!plan.scenes.empty()) return plan;
  }
  int dpi = kBaseDpi;
  if (layout == SceneLayout::OneScene) {
    const int cx = window.x + window.w / 2;
    const int cy = window.y + window.h / 2;
    for (const MonitorReport& m : monitors)
      if (cx >= m.bounds.x && cy >= m.bounds.y && cx < m.bounds.right() && cy < m.bounds.bottom()) dpi = m.dpi;
  }
  const MonitorReport whole[] = {{window, dpi, true}};
  return PlanMonitors(window, whole);
}

}  // namespace kovaren::saver
