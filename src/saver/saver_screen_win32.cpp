#include "saver/saver_screen_win32.h"

#include "platform/gdi_win32.h"
#include "saver/monitors_win32.h"
#include "saver/try_to_hold.h"

namespace kovaren::win32 {

namespace {

// The snapshot of `window` exactly as captured, through the screen's DC (screen coordinates, so a
// monitor left of or above the primary is captured too); empty when it could not be taken or held.
PixelBuffer TakeSnapshot(const Rect& window) {
  PixelBuffer snapshot;
  if (HDC screen = GetDC(nullptr)) {
    if (!saver::TryToHold([&] { snapshot = CapturePixels(screen, window); })) snapshot = PixelBuffer{};
    ReleaseDC(nullptr, screen);
  }
  return snapshot;
}

}  // namespace

class SaverScreen::DcPresenter final : public saver::PartPresenter {
 public:
  DcPresenter(HDC window, const std::vector<std::unique_ptr<FramePresenter>>& presenters)
      : window_(window), presenters_(presenters) {}
  void Present(size_t index, ConstPixelView frame, std::span<const Rect> dirty) override {
    presenters_[index]->Present(window_, frame, dirty);
  }
  void PresentAll(size_t index, ConstPixelView frame) override { presenters_[index]->PresentAll(window_, frame); }

 private:
  HDC window_;
  const std::vector<std::unique_ptr<FramePresenter>>& presenters_;
};

saver::MonitorPlan PlanScreens() {
  const std::vector<saver::MonitorReport> monitors = ListMonitors();
  saver::MonitorPlan plan = saver::PlanMonitors(VirtualScreen(), monitors);
  if (plan.window.empty() || plan.scenes.empty()) {
    const Rect primary{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const saver::MonitorReport only[] = {{primary, saver::kBaseDpi, true}};
    plan = saver::PlanMonitors(primary, only);
  }
  return plan;
}

// Without a snapshot (none taken, or too large to hold), the parts show black.
SaverScreen::SaverScreen(const saver::MonitorPlan& plan, PresentMethod atScale1, PresentMethod magnified)
    : scenes_(plan, TakeSnapshot(plan.window)), atScale1_(atScale1), magnified_(magnified),
      passKind_(atScale1 == PresentMethod::WholeFrame ? saver::PassKind::WholeFrame : saver::PassKind::Changes) {
  MakePresenters();
}

void SaverScreen::MakePresenters() {
  presenters_.clear();
  for (const saver::SceneArea& planned : scenes_.plan().scenes)
    presenters_.push_back(std::make_unique<FramePresenter>(MethodFor(planned.scale), planned.area));
}

void SaverScreen::StartLeaves(const std::optional<saver::SpriteSet>& sprites, int leafCount, uint64_t seed) {
  scenes_.StartLeaves(sprites, leafCount, seed);
}

void SaverScreen::Replan(const saver::MonitorPlan& after) {
  scenes_.Replan(after);
  MakePresenters();  // where the window moved, a kept scene is presented to another part of it
}

bool SaverScreen::animated() const { return scenes_.animated(); }

void SaverScreen::RunPass(HDC window) {
  DcPresenter presenter(window, presenters_);
  scenes_.RunPass(presenter, passKind_);
}

void SaverScreen::SkipToTypicalState() { scenes_.SkipToTypicalState(); }

void SaverScreen::Paint(HDC window) {
  DcPresenter presenter(window, presenters_);
  scenes_.PresentAll(presenter);
}

}  // namespace kovaren::win32
