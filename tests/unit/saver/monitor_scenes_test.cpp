// The scene set every shell runs: which seed each monitor's leaves get, what a monitor shows when
// memory runs out, and which scenes survive a change of screens — seen through what it presents.
#include "saver/monitor_scenes.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <memory>
#include <vector>

#include "art/leaf_art.h"
#include "saver/leaf_scene.h"

namespace kovaren::saver {
namespace {

constexpr int kLeafCount = 40;
constexpr uint64_t kSeed = 1234;
constexpr Pixel kBlack = Rgb(0, 0, 0);

// Every frame presented, by part, and how often each part was presented whole.
class RecordingPresenter final : public PartPresenter {
 public:
  void Present(size_t index, ConstPixelView frame, std::span<const Rect>) override {
    shown[index] = PixelBuffer(frame);
    ++passes[index];
  }
  void PresentAll(size_t index, ConstPixelView frame) override {
    shown[index] = PixelBuffer(frame);
    ++whole[index];
  }
  std::map<size_t, PixelBuffer> shown;
  std::map<size_t, int> passes;
  std::map<size_t, int> whole;
};

PixelBuffer Picture(int w, int h) {
  PixelBuffer picture(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) picture.set(x, y, Rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 70));
  return picture;
}

PixelBuffer Cut(const PixelBuffer& picture, const Rect& r) {
  PixelBuffer part(r.w, r.h);
  Blit(part, 0, 0, picture, r, RasterOp::Copy);
  return part;
}

// The frame a lone scene shows after `passes` passes: what a part seeded with `seed` must show too.
PixelBuffer Expected(const PixelBuffer& still, uint64_t seed, int scale, int passes) {
  LeafScene scene(still, art::DrawLeafSprites(), kLeafCount, std::make_unique<SeededRandom>(seed), scale);
  for (int i = 0; i < passes; ++i) scene.RunPass();
  return PixelBuffer(scene.frame());
}

const MonitorPlan kTwo = {{0, 0, 300, 100}, {{{0, 0, 200, 100}, 1}, {{200, 0, 100, 80}, 2}}};

// kTwo's monitors over `picture`, leaves seeded from kSeed, after `passes` passes.
MonitorScenes RunningTwo(const PixelBuffer& picture, int passes) {
  MonitorScenes scenes(kTwo, picture);
  scenes.StartLeaves(art::DrawLeafSprites(), kLeafCount, kSeed);
  RecordingPresenter presenter;
  for (int i = 0; i < passes; ++i) scenes.RunPass(presenter);
  return scenes;
}

TEST(MonitorScenes, SeedsMonitorsInPlanOrderAndPresentsEachToItsOwnIndex) {
  const PixelBuffer picture = Picture(300, 100);
  const PixelBuffer wrongSize = Picture(10, 10);  // a missing or odd picture: leaves over black
  const struct {
    const PixelBuffer& picture;
    bool pictured;
  } cases[] = {{picture, true}, {wrongSize, false}};
  for (const auto& c : cases) {
    MonitorScenes scenes(kTwo, c.picture);
    scenes.StartLeaves(art::DrawLeafSprites(), kLeafCount, kSeed);
    ASSERT_TRUE(scenes.animated());
    RecordingPresenter presenter;
    constexpr int kPasses = 30;
    for (int i = 0; i < kPasses; ++i) scenes.RunPass(presenter);
    for (size_t i = 0; i < kTwo.scenes.size(); ++i) {
      const SceneArea& planned = kTwo.scenes[i];
      const PixelBuffer still =
          c.pictured ? Cut(picture, planned.area) : PixelBuffer(planned.area.w, planned.area.h, kBlack);
      EXPECT_EQ(presenter.passes[i], kPasses);
      EXPECT_EQ(presenter.shown[i], Expected(still, kSeed + i, planned.scale, kPasses)) << "part " << i;
    }
  }
}

TEST(MonitorScenes, WholeFramePassesShowWhatChangedPassesShow) {
  const PixelBuffer picture = Picture(300, 100);
  MonitorScenes changes(kTwo, picture), whole(kTwo, picture);
  changes.StartLeaves(art::DrawLeafSprites(), kLeafCount, kSeed);
  whole.StartLeaves(art::DrawLeafSprites(), kLeafCount, kSeed);
  RecordingPresenter a, b;
  for (int i = 0; i < 20; ++i) {
    changes.RunPass(a, PassKind::Changes);
    whole.RunPass(b, PassKind::WholeFrame);
  }
  EXPECT_EQ(a.shown, b.shown);
}

// Storage a shell hands in (its image): the part draws and presents there, a part without leaves or
// storage of another size refuses it, and once the scenes take their frames back the storage can
// go: what they show goes on as if they had never left.
TEST(MonitorScenes, PartsDrawIntoStorageAndTakeTheirFramesBack) {
  const PixelBuffer picture = Picture(300, 100);
  MonitorScenes scenes(kTwo, picture);
  scenes.StartLeaves(art::DrawLeafSprites(), kLeafCount, kSeed);
  const SceneArea& first = kTwo.scenes[0];
  auto storage = std::make_unique<PixelBuffer>(first.area.w, first.area.h);
  auto small = std::make_unique<PixelBuffer>(first.area.w - 1, first.area.h);
  MonitorScenes still(kTwo, picture);
  EXPECT_FALSE(still.DrawInto(0, *storage)) << "no leaves";
  EXPECT_FALSE(scenes.DrawInto(0, *small)) << "another size";
  ASSERT_TRUE(scenes.DrawInto(0, *storage));
  RecordingPresenter presenter;
  constexpr int kPasses = 20;
  for (int i = 0; i < kPasses; ++i) scenes.RunPass(presenter);
  EXPECT_EQ(*storage, Expected(Cut(picture, first.area), kSeed, first.scale, kPasses));
  EXPECT_EQ(scenes.scene(0)->frame().row(0), storage->pixels().data());
  scenes.DrawIntoOwnFrames();
  storage->fill(kBlack);
  storage.reset();
  for (int i = 0; i < kPasses; ++i) scenes.RunPass(presenter);
  for (size_t i = 0; i < kTwo.scenes.size(); ++i) {
    const SceneArea& planned = kTwo.scenes[i];
    EXPECT_EQ(presenter.shown[i], Expected(Cut(picture, planned.area), kSeed + i, planned.scale, 2 * kPasses))
        << "part " << i;
  }
}

TEST(MonitorScenes, WhatAMonitorShowsWhenMemoryRunsOut) {
  const PixelBuffer picture = Picture(300, 100);
  // A monitor larger than a picture can index is never drawn, but still takes its seed.
  const MonitorPlan huge = {{0, 0, 300, 100},
                            {{{0, 0, 50000, 50000}, 1}, {{200, 0, 100, 80}, 1}}};
  MonitorScenes hugeFirst(huge, picture);
  hugeFirst.StartLeaves(art::DrawLeafSprites(), kLeafCount, kSeed);
  RecordingPresenter presenter;
  hugeFirst.PresentAll(presenter);
  hugeFirst.RunPass(presenter);
  EXPECT_EQ(presenter.shown.count(0), 0u);
  EXPECT_EQ(hugeFirst.scene(0), nullptr);
  EXPECT_EQ(presenter.shown[1], Expected(Cut(picture, huge.scenes[1].area), kSeed + 1, 1, 1));

  const struct {
    const char* name;
    std::optional<SpriteSet> sprites;
    int leafCount;
  } stills[] = {
      {"no sprites", std::nullopt, kLeafCount},
      {"no memory for the leaf table", art::DrawLeafSprites(), INT_MAX},
  };
  for (const auto& c : stills) {
    MonitorScenes scenes(kTwo, picture);
    scenes.StartLeaves(c.sprites, c.leafCount, kSeed);
    EXPECT_FALSE(scenes.animated()) << c.name;
    RecordingPresenter shown;
    scenes.RunPass(shown);
    EXPECT_TRUE(shown.passes.empty()) << c.name;
    scenes.PresentAll(shown);
    for (size_t i = 0; i < kTwo.scenes.size(); ++i)
      EXPECT_EQ(shown.shown[i], Cut(picture, kTwo.scenes[i].area)) << c.name << ", part " << i;
  }
}

TEST(MonitorScenes, AChangeOfScreensKeepsMonitorsThatStayedAndStartsNewOnesOverBlack) {
  const PixelBuffer picture = Picture(300, 100);
  constexpr int kPasses = 12;
  MonitorScenes scenes = RunningTwo(picture, kPasses);
  const LeafScene* first = scenes.scene(0);

  // A monitor added left of the first, the second removed: the window moved by -120.
  const MonitorPlan after = {{-120, 0, 320, 100}, {{{120, 0, 200, 100}, 1}, {{0, 0, 120, 90}, 1}}};
  scenes.Replan(after);
  EXPECT_EQ(scenes.plan().window, after.window);
  EXPECT_EQ(scenes.scene(0), first);  // the same scene, leaves and all
  RecordingPresenter presenter;
  scenes.RunPass(presenter);
  EXPECT_EQ(presenter.shown[0], Expected(Cut(picture, kTwo.scenes[0].area), kSeed, 1, kPasses + 1));
  // The first seed not given yet: two went to the monitors of the start.
  EXPECT_EQ(presenter.shown[1], Expected(PixelBuffer(120, 90, kBlack), kSeed + 2, 1, 1));
  EXPECT_EQ(presenter.shown.size(), 2u);

  // Back to none and then one again: the new one takes the next seed.
  scenes.Replan({{0, 0, 0, 0}, {}});
  EXPECT_FALSE(scenes.animated());
  scenes.Replan({{0, 0, 200, 100}, {{{0, 0, 200, 100}, 1}}});
  RecordingPresenter last;
  scenes.RunPass(last);
  EXPECT_EQ(last.shown[0], Expected(PixelBuffer(200, 100, kBlack), kSeed + 3, 1, 1));
}

TEST(MonitorScenes, APicturePerPartAndPartsPacedOneByOne) {
  // Monitors shown as surfaces of their own: each part its own picture, each stepped on its own.
  const PixelBuffer pictures[] = {Picture(200, 100), Picture(50, 50)};  // the second not its part's size
  MonitorScenes scenes(kTwo, pictures);
  scenes.StartLeaves(art::DrawLeafSprites(), kLeafCount, kSeed);
  RecordingPresenter presenter;
  constexpr int kFirstPasses = 9, kSecondPasses = 4;
  for (int i = 0; i < kFirstPasses; ++i) scenes.RunPartPass(0, presenter);
  for (int i = 0; i < kSecondPasses; ++i) scenes.RunPartPass(1, presenter);
  EXPECT_EQ(presenter.passes[0], kFirstPasses);
  EXPECT_EQ(presenter.passes[1], kSecondPasses);
  EXPECT_EQ(presenter.shown[0], Expected(pictures[0], kSeed, 1, kFirstPasses));
  EXPECT_EQ(presenter.shown[1], Expected(PixelBuffer(100, 80, kBlack), kSeed + 1, 2, kSecondPasses));
  ASSERT_TRUE(scenes.frame(1));
  EXPECT_EQ(PixelBuffer(*scenes.frame(1)), presenter.shown[1]);

  // Fewer pictures than parts: the rest over black; a still part has a frame but takes no pass.
  MonitorScenes still(kTwo, std::span<const PixelBuffer>(pictures, 1));
  still.StartLeaves(std::nullopt, kLeafCount, kSeed);
  RecordingPresenter none;
  still.RunPartPass(1, none);
  EXPECT_TRUE(none.passes.empty());
  ASSERT_TRUE(still.frame(0));
  EXPECT_EQ(PixelBuffer(*still.frame(0)), pictures[0]);
  EXPECT_EQ(PixelBuffer(*still.frame(1)), PixelBuffer(100, 80, kBlack));
}

TEST(MonitorScenes, AReplanDecidedByTheShellKeepsWhatItSays) {
  const PixelBuffer picture = Picture(300, 100);
  constexpr int kPasses = 5;
  MonitorScenes scenes = RunningTwo(picture, kPasses);
  const LeafScene* second = scenes.scene(1);

  // The second monitor moved to the front (DecideReplan would start it over black); one new after it.
  const MonitorPlan after = {{0, 0, 300, 100}, {{{0, 0, 100, 80}, 2}, {{100, 0, 200, 100}, 1}}};
  Replan decided;
  decided.keptFrom = {1, std::nullopt};
  decided.ended = {0};
  scenes.Replan(after, decided);
  EXPECT_EQ(scenes.scene(0), second);
  RecordingPresenter presenter;
  scenes.RunPass(presenter);
  EXPECT_EQ(presenter.shown[0], Expected(Cut(picture, kTwo.scenes[1].area), kSeed + 1, 2, kPasses + 1));
  EXPECT_EQ(presenter.shown[1], Expected(PixelBuffer(200, 100, kBlack), kSeed + 2, 1, 1));

  // A decision naming no old scene, or one out of range, starts the part over black.
  const MonitorPlan one = {{0, 0, 100, 80}, {{{0, 0, 100, 80}, 1}}};
  Replan odd;
  odd.keptFrom = {7};
  scenes.Replan(one, odd);
  RecordingPresenter last;
  scenes.RunPass(last);
  EXPECT_EQ(last.shown[0], Expected(PixelBuffer(100, 80, kBlack), kSeed + 3, 1, 1));
}

}  // namespace
}  // namespace kovaren::saver
