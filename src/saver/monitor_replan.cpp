#include "saver/monitor_replan.h"

namespace kovaren::saver {

namespace {
Rect OnDesktop(const MonitorPlan& plan, const SceneArea& scene) {
  return {plan.window.x + scene.area.x, plan.window.y + scene.area.y, scene.area.w, scene.area.h};
}
}  // namespace

Replan DecideReplan(const MonitorPlan& before, const MonitorPlan& after) {
  Replan result;
  std::vector<bool> taken(before.scenes.size(), false);
  for (const SceneArea& scene : after.scenes) {
    std::optional<size_t> match;
    for (size_t i = 0; i < before.scenes.size() && !match; ++i) {
      if (!taken[i] && before.scenes[i].scale == scene.scale &&
          OnDesktop(before, before.scenes[i]) == OnDesktop(after, scene)) {
        match = i;
      }
    }
    if (match) taken[*match] = true;
    result.keptFrom.push_back(match);
  }
  for (size_t i = 0; i < taken.size(); ++i) {
    if (!taken[i]) result.ended.push_back(i);
  }
  return result;
}

}  // namespace kovaren::saver
