// The leaves of every monitor the saver window covers, whatever shell shows them: one part per
// planned monitor, each a leaf scene at the monitor's scale or, where memory for one ran out, the
// still picture under it. The shell hands in the picture once, presents through PartPresenter and
// re-plans when the screens change; seeds, memory and which scenes survive a change are decided here.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "gfx/pixel_buffer.h"
#include "saver/leaf_scene.h"
#include "saver/monitor_plan.h"
#include "saver/monitor_replan.h"
#include "saver/sprites.h"

namespace kovaren::saver {

// How a shell brings its window up to date with one part: `index` is the part's place in the plan the
// scene set runs now (MonitorScenes::plan()).
class PartPresenter {
 public:
  virtual ~PartPresenter() = default;
  // The pixels of `frame` under `dirty` (frame coordinates) changed.
  virtual void Present(size_t index, ConstPixelView frame, std::span<const Rect> dirty) = 0;
  // All of `frame` (a paint request, the first frame, a part that moved).
  virtual void PresentAll(size_t index, ConstPixelView frame) = 0;
};

// How a pass brings a frame up to date: only what changed, or the whole frame redrawn.
enum class PassKind { Changes, WholeFrame };

class MonitorScenes {
 public:
  // One part per scene of `plan`, showing its part of `picture` (the window's picture, window
  // coordinates); black when the picture is not the window's size. A part whose picture cannot be
  // held is never drawn.
  MonitorScenes(const MonitorPlan& plan, const PixelBuffer& picture);
  // The same with a picture per scene (pictures[i] for scene i), for monitors shown as surfaces of
  // their own whose pictures are copied one by one; black where one is missing or not its scene's size.
  MonitorScenes(const MonitorPlan& plan, std::span<const PixelBuffer> pictures);

  // One scene per part: leafCount as in the settings, the first part seeded with `seed`, the next
  // with seed + 1, ... (a part never drawn still takes its seed). Without sprites, or without memory
  // for a scene, a part keeps its still picture.
  void StartLeaves(const std::optional<SpriteSet>& sprites, int leafCount, uint64_t seed);

  // The screens changed and `after` is their new plan. A monitor that stayed where it was at its
  // scale keeps its scene, leaves and picture; a new or changed one gets leaves over black (taking
  // the picture again would capture the saver itself), seeded after the last seed given; a removed
  // one's scene ends. Present everything afterwards (PresentAll).
  void Replan(const MonitorPlan& after);
  // The same, with which scenes continue decided by the shell (`decided` as DecideReplan gives it:
  // one entry per scene of `after`, no old scene twice). Where each monitor is a surface of its own,
  // a monitor keeps its scene while it is there, wherever the compositor moved it.
  void Replan(const MonitorPlan& after, const saver::Replan& decided);

  const MonitorPlan& plan() const { return plan_; }
  // Whether any part has leaves to move (otherwise nothing needs pacing).
  bool animated() const;
  // Part `index`'s scene; null when it shows a still picture or is never drawn.
  const LeafScene* scene(size_t index) const;
  // Part `index`'s frame as it is now; nothing when it is never drawn.
  std::optional<ConstPixelView> frame(size_t index) const;

  // Part `index`'s scene draws into `storage` from now on (LeafScene::DrawInto); false when the part
  // has no scene or the storage is not its size.
  bool DrawInto(size_t index, PixelView storage);
  // Every scene draws into its own frame again: call before the storage given to DrawInto goes.
  void DrawIntoOwnFrames();

  // One pass of every scene, each presenting what it changed.
  void RunPass(PartPresenter& presenter, PassKind kind = PassKind::Changes);
  // One pass of part `index` alone, for a shell paced monitor by monitor (a compositor's frame
  // callbacks come per surface, and none for a monitor nobody sees); nothing for a still part.
  void RunPartPass(size_t index, PartPresenter& presenter, PassKind kind = PassKind::Changes);
  // Every part that is drawn, whole.
  void PresentAll(PartPresenter& presenter) const;
  // Runs passes without presenting them until every leaf's hidden first descent is over and about
  // half the leaves show, as in a long run (a measuring host's warm-up; follow it with PresentAll).
  void SkipToTypicalState();

 private:
  struct Part {
    int scale = 1;
    std::optional<LeafScene> scene;
    PixelBuffer still;  // shown when there is no scene
    ConstPixelView frame() const { return scene ? scene->frame() : ConstPixelView(still); }
  };
  static std::unique_ptr<Part> BlackPart(const SceneArea& planned);
  // One part per planned scene, black, then given its picture by `paint` (scene index, its still).
  void MakeParts(const std::function<void(size_t, PixelBuffer&)>& paint);
  void AddLeaves(Part& part, uint64_t seed) const;

  MonitorPlan plan_;
  // One entry per scene of plan_, in its order; empty where a monitor's picture could not be held.
  std::vector<std::unique_ptr<Part>> parts_;
  // Kept from StartLeaves for the scenes of monitors that arrive later.
  std::optional<SpriteSet> sprites_;
  int leafCount_ = 0;
  uint64_t nextSeed_ = 0;
};

}  // namespace kovaren::saver
