// The Wayland shell's monitor plan: every output it shows is a surface of its own, so a plan is just
// the outputs' frames side by side (where the compositor puts them does not matter to a surface), and
// an output keeps its scene as long as it is there at the same size and scale, wherever it moved.
// Pure, so the matching is tested away from a compositor.
#pragma once
#include <cstdint>
#include <optional>
#include <span>

#include "gfx/pixel_buffer.h"
#include "saver/monitor_plan.h"
#include "saver/monitor_replan.h"

namespace kovaren::wayland {

// One surface shown: the output's registry name (0 for a window of our own), its frame's size in
// device pixels and the output's scale.
struct ShownOutput {
  uint32_t name = 0;
  int width = 0, height = 0;
  int scale = 1;
  bool operator==(const ShownOutput&) const = default;
};

// One scene per output, in order, each the size of its frame, leaves magnified by its scale (at most
// the sprites' largest magnification, and never beyond the frame's width or height).
saver::MonitorPlan PlanOutputs(std::span<const ShownOutput> outputs);

// Which of `before`'s scenes each of `after` continues: the same output at the same size and scale.
saver::Replan MatchOutputs(std::span<const ShownOutput> before, std::span<const ShownOutput> after);

// The picture under an output's leaves, `width` x `height`: its copy laid at the top left (a copy of
// another size: the mode changed in between) over the dark backdrop, which is all there is without one.
PixelBuffer OutputPicture(const std::optional<PixelBuffer>& copy, int width, int height);

}  // namespace kovaren::wayland
