#include "saver/saver_screen_win32.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "platform/gdi_win32.h"
#include "saver/monitor_replan.h"
#include "saver/monitors_win32.h"

namespace kovaren::win32 {

namespace {

// Runs `make`; false when memory ran out or the picture is larger than a buffer can index (a huge
// virtual screen). Only those two: any other exception is a fault and must not become a black screen.
template <class Make>
bool TryToHold(Make&& make) {
  try {
    make();
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
}

}  // namespace

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

SaverScreen::SaverScreen(const saver::MonitorPlan& plan, PresentMethod atScale1, PresentMethod magnified)
    : plan_(plan), parts_(plan.scenes.size()), atScale1_(atScale1), magnified_(magnified),
      wholeFrames_(atScale1 == PresentMethod::WholeFrame) {
  // The snapshot, exactly as captured, through the screen's DC (screen coordinates, so a monitor left
  // of or above the primary is captured too).
  PixelBuffer snapshot;
  if (HDC screen = GetDC(nullptr)) {
    // Too large to hold: tried again below, then given up.
    if (!TryToHold([&] { snapshot = CapturePixels(screen, plan.window); })) snapshot = PixelBuffer{};
    ReleaseDC(nullptr, screen);
  }
  if (snapshot.width() != plan.window.w || snapshot.height() != plan.window.h) {
    // No snapshot: leaves over black. A screen too large even for that shows nothing; the window
    // still ends on input.
    if (!TryToHold([&] { snapshot = PixelBuffer(plan.window.w, plan.window.h, Rgb(0, 0, 0)); })) return;
  }
  for (size_t i = 0; i < plan.scenes.size(); ++i) {
    const saver::SceneArea& planned = plan.scenes[i];
    // Out of memory even for this monitor's picture: it is never drawn.
    TryToHold([&] {
      PixelBuffer still(planned.area.w, planned.area.h);
      Blit(still, 0, 0, snapshot, planned.area, RasterOp::Copy);
      parts_[i] = NewPart(planned, std::move(still));
    });
  }
}

std::unique_ptr<SaverScreen::Part> SaverScreen::NewPart(const saver::SceneArea& planned, PixelBuffer still) {
  auto part = std::make_unique<Part>(planned, MethodFor(planned.scale));
  part->still = std::move(still);
  return part;
}

void SaverScreen::StartLeaves(const std::optional<saver::SpriteSet>& sprites, int leafCount, uint64_t seed) {
  sprites_ = sprites;
  leafCount_ = leafCount;
  nextSeed_ = seed;
  for (const auto& part : parts_) {
    if (part) AddLeaves(*part);
    ++nextSeed_;  // each monitor its own seed, whether or not its picture was held
  }
}

void SaverScreen::AddLeaves(Part& part) {
  if (!sprites_) return;
  const bool held = TryToHold([&] {
    part.scene.emplace(part.still, *sprites_, leafCount_, std::make_unique<saver::SeededRandom>(nextSeed_),
                       part.scale);
    part.still = PixelBuffer{};  // the scene has its own copy
  });
  if (!held) part.scene.reset();  // out of memory for a huge leaf table: this monitor shows the bare snapshot
}

void SaverScreen::Replan(const saver::MonitorPlan& after) {
  const saver::Replan decided = saver::DecideReplan(plan_, after);
  std::vector<std::unique_ptr<Part>> parts(after.scenes.size());
  for (size_t i = 0; i < after.scenes.size(); ++i) {
    const saver::SceneArea& planned = after.scenes[i];
    if (const std::optional<size_t> from = decided.keptFrom[i]) {
      std::unique_ptr<Part>& kept = parts_[*from];
      if (!kept) continue;  // its picture could never be held: still not drawn
      // Where the window moved, the scene is presented to another part of it.
      parts[i] = planned.area == plan_.scenes[*from].area
                     ? std::move(kept)
                     : std::make_unique<Part>(std::move(*kept), planned, MethodFor(planned.scale));
      continue;
    }
    // Out of memory for a new monitor's picture: it is never drawn.
    TryToHold([&] {
      parts[i] = NewPart(planned, PixelBuffer(planned.area.w, planned.area.h, Rgb(0, 0, 0)));
      AddLeaves(*parts[i]);
    });
    ++nextSeed_;
  }
  // The ended scenes go with the old list.
  parts_ = std::move(parts);
  plan_ = after;
}

bool SaverScreen::animated() const {
  for (const auto& part : parts_)
    if (part && part->scene) return true;
  return false;
}

void SaverScreen::RunPass(HDC window) {
  for (const auto& part : parts_) {
    if (!part || !part->scene) continue;
    const std::span<const Rect> dirty = wholeFrames_ ? part->scene->RunFullFramePass() : part->scene->RunPass();
    part->presenter.Present(window, part->scene->frame(), dirty);
  }
}

void SaverScreen::SkipToTypicalState() {
  for (const auto& part : parts_) {
    if (!part || !part->scene) continue;
    saver::LeafScene& scene = *part->scene;
    // The slowest leaf falls half a pixel a pass: after 2 H passes every first descent is over.
    const int firstDescents = 2 * scene.logicalHeight() + 1;
    for (int i = 0; i < firstDescents; ++i) scene.RunPass();
    const int half = static_cast<int>(scene.leaves().size()) / 2;
    const int slack = std::max(1, half / 10);
    for (int i = 0; i < 10 * firstDescents && std::abs(scene.shownCount() - half) > slack; ++i) scene.RunPass();
  }
}

void SaverScreen::Paint(HDC window) {
  for (const auto& part : parts_)
    if (part) part->presenter.PresentAll(window, part->frame());
}

}  // namespace kovaren::win32
