// Where the saver's window goes and which leaf scenes it runs: one window over the whole virtual
// screen, one scene per monitor, each at the monitor's own whole-number scale. Pure arithmetic over
// what the system reports, so odd reports (no size, overlaps, absurd DPI) are decided and tested here.
#pragma once
#include <span>
#include <vector>

#include "gfx/pixel_buffer.h"
#include "saver/leaf.h"

namespace kovaren::saver {

constexpr int kBaseDpi = 96;   // the DPI at which a leaf sprite pixel is one screen pixel
constexpr int kMinScale = 1;
constexpr int kMaxScale = kMaxLeafScale;

// One monitor as the system reports it: its rectangle in desktop coordinates (the primary monitor's
// top-left is 0, 0; others may lie at negative coordinates) and its effective DPI.
struct MonitorReport {
  Rect bounds;
  int dpi = kBaseDpi;
  bool primary = false;
};

// One leaf scene: the part of the window it draws (window coordinates) and its magnification.
struct SceneArea {
  Rect area;
  int scale = 1;
  bool operator==(const SceneArea&) const = default;
};

struct MonitorPlan {
  Rect window;                    // the saver window, desktop coordinates
  std::vector<SceneArea> scenes;  // inside the window, never overlapping; the primary's first
};

// The DPI as a whole-number multiple of 96, rounded half up (96-143 -> 1, 144-239 -> 2, 240-335 -> 3),
// clamped to kMinScale..kMaxScale.
int ScaleForDpi(int dpi);

// The window covers `virtualScreen` (or, when that is empty, every monitor with a size). Each
// monitor with a size inside the window gets a scene over its part of the window; one that overlaps
// a monitor planned before it is cut back to its largest part outside that one, or left out when
// nothing is left. A scene's scale never exceeds its width or height, so it keeps at least one
// logical pixel each way.
MonitorPlan PlanMonitors(const Rect& virtualScreen, std::span<const MonitorReport> monitors);

// How a window's leaves are laid out: a scene per monitor it covers, or one scene over all of it
// (a window on the desktop, a preview).
enum class SceneLayout { PerMonitor, OneScene };

// The plan for a window at `window` (desktop coordinates). PerMonitor: as PlanMonitors, and one
// scene over the whole window at scale 1 when no monitor lies in it. OneScene: one scene over the
// whole window at the scale of the monitor under its centre (scale 1 when none is).
MonitorPlan PlanWindow(const Rect& window, std::span<const MonitorReport> monitors, SceneLayout layout);

}  // namespace kovaren::saver
