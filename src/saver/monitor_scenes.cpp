#include "saver/monitor_scenes.h"

#include <algorithm>
#include <cstdlib>

#include "saver/monitor_replan.h"
#include "saver/try_to_hold.h"

namespace kovaren::saver {

std::unique_ptr<MonitorScenes::Part> MonitorScenes::BlackPart(const SceneArea& planned) {
  auto part = std::make_unique<Part>();
  part->scale = planned.scale;
  part->still = PixelBuffer(planned.area.w, planned.area.h, Rgb(0, 0, 0));
  return part;
}

MonitorScenes::MonitorScenes(const MonitorPlan& plan, const PixelBuffer& picture)
    : plan_(plan), parts_(plan.scenes.size()) {
  const bool pictured = picture.width() == plan.window.w && picture.height() == plan.window.h;
  MakeParts([&](size_t i, PixelBuffer& still) {
    if (pictured) Blit(still, 0, 0, picture, plan.scenes[i].area, RasterOp::Copy);
  });
}

MonitorScenes::MonitorScenes(const MonitorPlan& plan, std::span<const PixelBuffer> pictures)
    : plan_(plan), parts_(plan.scenes.size()) {
  MakeParts([&](size_t i, PixelBuffer& still) {
    if (i < pictures.size() && pictures[i].width() == still.width() && pictures[i].height() == still.height())
      still = pictures[i];
  });
}

void MonitorScenes::MakeParts(const std::function<void(size_t, PixelBuffer&)>& paint) {
  for (size_t i = 0; i < plan_.scenes.size(); ++i) {
    // Out of memory even for this monitor's picture: it is never drawn.
    TryToHold([&] {
      std::unique_ptr<Part> part = BlackPart(plan_.scenes[i]);
      paint(i, part->still);
      parts_[i] = std::move(part);
    });
  }
}

void MonitorScenes::StartLeaves(const std::optional<SpriteSet>& sprites, int leafCount, uint64_t seed) {
  sprites_ = sprites;
  leafCount_ = leafCount;
  nextSeed_ = seed;
  for (const auto& part : parts_) {
    if (part) AddLeaves(*part, nextSeed_);
    ++nextSeed_;  // each monitor its own seed, whether or not its picture was held
  }
}

void MonitorScenes::AddLeaves(Part& part, uint64_t seed) const {
  if (!sprites_) return;
  const bool held = TryToHold([&] {
    part.scene.emplace(part.still, *sprites_, leafCount_, std::make_unique<SeededRandom>(seed), part.scale);
    part.still = PixelBuffer{};  // the scene has its own copy
  });
  if (!held) part.scene.reset();  // out of memory for a huge leaf table: the bare picture
}

void MonitorScenes::Replan(const MonitorPlan& after) { Replan(after, DecideReplan(plan_, after)); }

void MonitorScenes::Replan(const MonitorPlan& after, const saver::Replan& decided) {
  std::vector<std::unique_ptr<Part>> parts(after.scenes.size());
  for (size_t i = 0; i < after.scenes.size(); ++i) {
    const std::optional<size_t> from = i < decided.keptFrom.size() ? decided.keptFrom[i] : std::nullopt;
    if (from && *from < parts_.size()) {
      parts[i] = std::move(parts_[*from]);  // empty when its picture could never be held: still not drawn
      continue;
    }
    const SceneArea& planned = after.scenes[i];
    // Out of memory for a new monitor's picture: it is never drawn.
    TryToHold([&] {
      std::unique_ptr<Part> part = BlackPart(planned);
      AddLeaves(*part, nextSeed_);
      parts[i] = std::move(part);
    });
    ++nextSeed_;
  }
  // The ended scenes go with the old list.
  parts_ = std::move(parts);
  plan_ = after;
}

bool MonitorScenes::animated() const {
  return std::any_of(parts_.begin(), parts_.end(), [](const auto& part) { return part && part->scene; });
}

const LeafScene* MonitorScenes::scene(size_t index) const {
  const auto& part = parts_.at(index);
  return part && part->scene ? &*part->scene : nullptr;
}

std::optional<ConstPixelView> MonitorScenes::frame(size_t index) const {
  const auto& part = parts_.at(index);
  if (!part) return std::nullopt;
  return part->frame();
}

bool MonitorScenes::DrawInto(size_t index, PixelView storage) {
  Part* part = parts_.at(index).get();
  return part && part->scene && part->scene->DrawInto(storage);
}

void MonitorScenes::DrawIntoOwnFrames() {
  for (const auto& part : parts_)
    if (part && part->scene) part->scene->DrawInto({});
}

void MonitorScenes::RunPass(PartPresenter& presenter, PassKind kind) {
  for (size_t i = 0; i < parts_.size(); ++i) RunPartPass(i, presenter, kind);
}

void MonitorScenes::RunPartPass(size_t index, PartPresenter& presenter, PassKind kind) {
  Part* part = parts_.at(index).get();
  if (!part || !part->scene) return;
  const std::span<const Rect> dirty =
      kind == PassKind::WholeFrame ? part->scene->RunFullFramePass() : part->scene->RunPass();
  presenter.Present(index, part->scene->frame(), dirty);
}

void MonitorScenes::PresentAll(PartPresenter& presenter) const {
  for (size_t i = 0; i < parts_.size(); ++i)
    if (parts_[i]) presenter.PresentAll(i, parts_[i]->frame());
}

void MonitorScenes::SkipToTypicalState() {
  for (const auto& part : parts_) {
    if (!part || !part->scene) continue;
    LeafScene& scene = *part->scene;
    // The slowest leaf falls half a pixel a pass: after 2 H passes every first descent is over.
    const int firstDescents = 2 * scene.logicalHeight() + 1;
    for (int i = 0; i < firstDescents; ++i) scene.RunPass();
    const int half = static_cast<int>(scene.leaves().size()) / 2;
    const int slack = std::max(1, half / 10);
    for (int i = 0; i < 10 * firstDescents && std::abs(scene.shownCount() - half) > slack; ++i) scene.RunPass();
  }
}

}  // namespace kovaren::saver
