#include "preview/preview_layout.h"

#include <algorithm>
#include <limits>

namespace kovaren::preview {
namespace {

// Edges are signed 32-bit, so their difference can exceed that range: take it in 64 bits and keep it
// within what a window size can be.
int Extent(int32_t from, int32_t to) {
  const int64_t d = static_cast<int64_t>(to) - static_cast<int64_t>(from);
  return static_cast<int>(std::clamp<int64_t>(d, 0, std::numeric_limits<int32_t>::max()));
}

}  // namespace

Size PreviewSize(const ScreenRect& host) {
  // The host's size in whole pixels, as the window calls take it: nothing is converted on the way,
  // so no host is too large to be covered.
  return {Extent(host.left, host.right), Extent(host.top, host.bottom)};
}

std::optional<Size> PlanPreview(HostWindow host, const std::optional<ScreenRect>& hostRect) {
  if (host == kNoWindow || !hostRect) return std::nullopt;
  return PreviewSize(*hostRect);
}

PaintPlan PlanPaint(Size window, Size picture) {
  const int w = std::max(window.w, 0);
  const int h = std::max(window.h, 0);
  PaintPlan plan;
  plan.picture = Intersect({0, 0, std::max(picture.w, 0), std::max(picture.h, 0)}, {0, 0, w, h});
  if (plan.picture.empty()) plan.picture = {};
  const int shownW = plan.picture.w;
  const int shownH = plan.picture.h;
  plan.blackRight = {shownW, 0, w - shownW, h};
  plan.blackBelow = {0, shownH, shownW, h - shownH};
  return plan;
}

}  // namespace kovaren::preview
