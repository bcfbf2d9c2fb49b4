// The X11 program's scenes over the portable scene set: which monitors get their own scene, which
// picture lies under the leaves (the daemon's screenshot, the screen before our window maps, or
// dark), and presenting each scene through its own X presenter.
#include "saver/hack_scenes_x11.h"

#include <utility>

#include "platform/huge_pages_x11.h"
#include "saver/built_in_pictures.h"
#include "saver/desktop_image_x11.h"
#include "saver/hack_backdrop.h"
#include "saver/monitors_x11.h"

namespace kovaren::x11 {
namespace {

// Presents the scene set's parts through one X presenter each, in the order of its plan.
class WindowPresenter final : public saver::PartPresenter {
 public:
  explicit WindowPresenter(std::vector<std::unique_ptr<FramePresenter>>& presenters) : presenters_(presenters) {}
  void Present(size_t index, ConstPixelView frame, std::span<const Rect> dirty) override {
    presenters_[index]->Present(frame, dirty);
  }
  void PresentAll(size_t index, ConstPixelView frame) override { presenters_[index]->PresentAll(frame); }

 private:
  std::vector<std::unique_ptr<FramePresenter>>& presenters_;
};

}  // namespace

HackScenes::HackScenes(Display* display, int screen, const HackWindow& window, const saver::HackOptions& options,
                       uint64_t seed)
    : display_(display), screen_(screen), window_(window), options_(options), scenes_(Plan(), ReadBackdrop()) {
  // The leaves, one scene per monitor at its scale, seeded as on Windows.
  scenes_.StartLeaves(saver::BuiltInSprites(), options_.leafCount, seed);
  MakePresenters();
}

// One scene per monitor the window covers; a window of our own on the desktop, and the preview, are
// one scene at the scale of the monitor they lie on.
saver::MonitorPlan HackScenes::Plan() const {
  const bool oneScene =
      options_.target == saver::HackTarget::OwnWindow || options_.target == saver::HackTarget::PreviewWindow;
  return saver::PlanWindow(window_.area(), ListMonitors(display_, screen_),
                           oneScene ? saver::SceneLayout::OneScene : saver::SceneLayout::PerMonitor);
}

PixelBuffer HackScenes::ReadBackdrop() const {
  const bool handedOver =
      options_.target == saver::HackTarget::HandedWindow || options_.target == saver::HackTarget::PreviewWindow;
  const Rect& area = window_.area();
  std::optional<PixelBuffer> screenshot;
  if (handedOver) screenshot = ReadDaemonScreenshot(display_, window_.id(), window_.visual(), area.w, area.h);
  switch (saver::ChooseBackdrop(options_.target, screenshot.has_value())) {
    case saver::HackBackdrop::DaemonScreenshot:
      return std::move(*screenshot);
    case saver::HackBackdrop::ScreenBeforeMap:
      return ReadScreen(display_, screen_, area);
    case saver::HackBackdrop::Dark:
      break;
  }
  return PixelBuffer(area.w, area.h, saver::kDarkBackdrop);
}

// Where an image holds our pixel words, its scene draws straight into it.
void HackScenes::MakePresenters() {
  scenes_.DrawIntoOwnFrames();  // the old presenters' images go now
  presenters_.clear();
  for (const saver::SceneArea& planned : scenes_.plan().scenes)
    presenters_.push_back(
        std::make_unique<FramePresenter>(display_, window_.id(), window_.visual(), window_.depth(), planned.area));
  for (size_t i = 0; i < scenes_.plan().scenes.size(); ++i) {
    if (const saver::LeafScene* scene = scenes_.scene(i)) {
      AskForHugePages(scene->snapshot().pixels());
      scenes_.DrawInto(i, presenters_[i]->storage());
    }
  }
}

void HackScenes::Replan() {
  const saver::MonitorPlan after = Plan();
  if (after == scenes_.plan()) return;
  scenes_.Replan(after);
  MakePresenters();
  PaintAll();
}

void HackScenes::RunPass() {
  WindowPresenter presenter(presenters_);
  scenes_.RunPass(presenter);
}

void HackScenes::PaintAll() {
  WindowPresenter presenter(presenters_);
  scenes_.PresentAll(presenter);
}

}  // namespace kovaren::x11
