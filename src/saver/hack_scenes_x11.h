// The leaves in the X11 program's window: the monitors planned over it, the picture under the leaves,
// the shared scene set and one X presenter per scene, made again whenever the plan changes.
#pragma once
#include <X11/Xlib.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "gfx/pixel_buffer.h"
#include "saver/hack_options.h"
#include "saver/hack_window_x11.h"
#include "saver/monitor_plan.h"
#include "saver/monitor_scenes.h"
#include "saver/presenter_x11.h"

namespace kovaren::x11 {

class HackScenes {
 public:
  // Plans `window` as it lies now, reads the picture under the leaves and starts them, seeded with
  // `seed`. Nothing is presented yet.
  HackScenes(Display* display, int screen, const HackWindow& window, const saver::HackOptions& options, uint64_t seed);

  bool animated() const { return scenes_.animated(); }
  void RunPass();
  void PaintAll();
  // The screens or the window's size changed (the window already covers its new area): the scenes
  // take the new plan, monitors that stayed keep their leaves, and everything is painted again.
  // Nothing happens when the plan stayed as it was.
  void Replan();

 private:
  saver::MonitorPlan Plan() const;
  PixelBuffer ReadBackdrop() const;
  void MakePresenters();

  Display* display_;
  int screen_;
  const HackWindow& window_;
  const saver::HackOptions& options_;
  saver::MonitorScenes scenes_;
  // One per scene of scenes_.plan(), in its order.
  std::vector<std::unique_ptr<FramePresenter>> presenters_;
};

}  // namespace kovaren::x11
