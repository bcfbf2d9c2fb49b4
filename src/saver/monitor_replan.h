// What happens to the running scenes when the screens change: a monitor that stayed where it was at
// the same scale keeps its scene (its leaves and its part of the snapshot); any other scene of the
// new plan starts over black, since retaking the snapshot would only capture the saver itself; old
// scenes nobody kept end.
#pragma once
#include <optional>
#include <vector>

#include "saver/monitor_plan.h"

namespace kovaren::saver {

struct Replan {
  // One entry per scene of the new plan, in its order: the old scene it continues, or none (black).
  std::vector<std::optional<size_t>> keptFrom;
  std::vector<size_t> ended;  // old scenes that end, ascending
};

// Scenes are matched by their area in desktop coordinates (the window may have moved) and scale.
Replan DecideReplan(const MonitorPlan& before, const MonitorPlan& after);

}  // namespace kovaren::saver
