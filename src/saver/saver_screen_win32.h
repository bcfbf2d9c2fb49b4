// What the saver window shows: the snapshot of the whole virtual screen, cut into one leaf scene per
// monitor at that monitor's scale, each presented to its part of the window after every pass. Parts
// of the virtual screen that no monitor shows are never drawn.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "gfx/pixel_buffer.h"
#include "saver/monitor_plan.h"
#include "saver/monitor_scenes.h"
#include "saver/presenter_win32.h"
#include "saver/sprites.h"

namespace kovaren::win32 {

// The screens as the system reports them now; when it reports nothing usable, the primary screen at
// 96 DPI.
saver::MonitorPlan PlanScreens();

class SaverScreen {
 public:
  // Takes the snapshot of plan.window from the screen (call while the saver window is hidden), one
  // part per planned monitor; each shows its part of the snapshot until StartLeaves.
  // `atScale1` presents monitors at scale 1, `magnified` the others.
  SaverScreen(const saver::MonitorPlan& plan, PresentMethod atScale1, PresentMethod magnified);

  // One scene per monitor at its scale: leafCount as in the settings, the first monitor seeded with
  // `seed`, the next with seed + 1, ... Without sprites, or without memory for a scene, a monitor
  // keeps showing the bare snapshot.
  void StartLeaves(const std::optional<saver::SpriteSet>& sprites, int leafCount, uint64_t seed);

  // The screens changed and `after` is their new plan (the window is moved to after.window by the
  // caller). A monitor that stayed where it was at its scale keeps its scene, leaves and part of the
  // snapshot; a new or changed one gets leaves over black (retaking the snapshot would capture the
  // saver itself); a removed one's scene ends. Present everything afterwards (Paint).
  void Replan(const saver::MonitorPlan& after);

  // Whether any scene has leaves to move (otherwise nothing needs pacing).
  bool animated() const;
  // One pass of every scene, each presenting what it changed to `window` (the saver window's DC).
  void RunPass(HDC window);
  // Everything again (WM_PAINT).
  void Paint(HDC window);
  // Runs passes without presenting them until every leaf's hidden first descent is over and about
  // half the leaves show, as in a long run (a measuring host's warm-up; follow it with Paint).
  void SkipToTypicalState();

 private:
  // Presents the scene set's parts to one DC through the presenters of its plan.
  class DcPresenter;
  PresentMethod MethodFor(int scale) const { return scale == 1 ? atScale1_ : magnified_; }
  void MakePresenters();

  saver::MonitorScenes scenes_;
  // One per scene of scenes_.plan(), in its order.
  std::vector<std::unique_ptr<FramePresenter>> presenters_;
  PresentMethod atScale1_;
  PresentMethod magnified_;
  saver::PassKind passKind_;
};

}  // namespace kovaren::win32
