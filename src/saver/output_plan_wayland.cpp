#include "saver/output_plan_wayland.h"

#include <algorithm>

#include "saver/hack_backdrop.h"

namespace kovaren::wayland {

saver::MonitorPlan PlanOutputs(std::span<const ShownOutput> outputs) {
  saver::MonitorPlan plan;
  int x = 0;
  int height = 0;
  for (const ShownOutput& o : outputs) {
    const int w = std::max(o.width, 0), h = std::max(o.height, 0);
    const int scale = std::clamp(std::min({o.scale, w, h}), saver::kMinScale, saver::kMaxScale);
    plan.scenes.push_back({{x, 0, w, h}, scale});
    x += w;
    height = std::max(height, h);
  }
  plan.window = {0, 0, x, height};
  return plan;
}

saver::Replan MatchOutputs(std::span<const ShownOutput> before, std::span<const ShownOutput> after) {
  saver::Replan result;
  std::vector<bool> kept(before.size(), false);
  for (const ShownOutput& o : after) {
    const auto same = std::find(before.begin(), before.end(), o);
    std::optional<size_t> from;
    if (same != before.end() && !kept[static_cast<size_t>(same - before.begin())]) {
      from = static_cast<size_t>(same - before.begin());
      kept[*from] = true;
    }
    result.keptFrom.push_back(from);
  }
  for (size_t i = 0; i < kept.size(); ++i)
    if (!kept[i]) result.ended.push_back(i);
  return result;
}

PixelBuffer OutputPicture(const std::optional<PixelBuffer>& copy, int width, int height) {
  PixelBuffer picture(width, height, saver::kDarkBackdrop);
  if (copy) Blit(picture, 0, 0, *copy, RasterOp::Copy);
  return picture;
}

}  // namespace kovaren::wayland
