// The Wayland shell's plan: one scene per shown output at its frame's size and scale, and an output
// keeps its scene while it is there unchanged, wherever it sits in the list.
#include "saver/output_plan_wayland.h"

#include <gtest/gtest.h>

#include <vector>

#include "saver/hack_backdrop.h"

namespace kovaren::wayland {
namespace {

using Kept = std::vector<std::optional<size_t>>;

TEST(OutputPlan, OneScenePerOutputNeverOverlappingAtItsScale) {
  const struct {
    ShownOutput output;
    int scale;  // of its scene
  } cases[] = {
      {{7, 640, 480, 1}, 1},
      {{8, 1600, 1200, 2}, 2},
      {{9, 3840, 2160, 12}, saver::kMaxScale},  // beyond the sprites' largest magnification
      {{10, 1, 300, 3}, 1},                     // never beyond its width
      {{11, 300, 0, 2}, 1},                     // no size: no magnification either
  };
  std::vector<ShownOutput> outputs;
  for (const auto& c : cases) outputs.push_back(c.output);
  const saver::MonitorPlan plan = PlanOutputs(outputs);
  ASSERT_EQ(plan.scenes.size(), outputs.size());
  for (size_t i = 0; i < outputs.size(); ++i) {
    const saver::SceneArea& scene = plan.scenes[i];
    EXPECT_EQ(scene.area.w, outputs[i].width) << i;
    EXPECT_EQ(scene.area.h, outputs[i].height) << i;
    EXPECT_EQ(scene.scale, cases[i].scale) << i;
    if (!scene.area.empty()) {
      EXPECT_TRUE(Intersect(scene.area, plan.window) == scene.area) << i;
    }
    for (size_t j = 0; j < i; ++j) EXPECT_TRUE(Intersect(scene.area, plan.scenes[j].area).empty()) << i << "," << j;
  }
  EXPECT_TRUE(PlanOutputs({}).scenes.empty());
}

TEST(OutputPlan, AnOutputKeepsItsSceneWhileItIsThereUnchanged) {
  const ShownOutput a{1, 640, 480, 1}, b{2, 1600, 1200, 2}, c{3, 640, 480, 1};
  const struct {
    const char* what;
    std::vector<ShownOutput> before, after;
    Kept kept;
    std::vector<size_t> ended;
  } cases[] = {
      {"one added", {a, b}, {a, b, c}, {0, 1, std::nullopt}, {}},
      {"the first gone: the others move up, leaves and all", {a, b, c}, {b, c}, {1, 2}, {0}},
      {"the same size elsewhere is another output", {a}, {c}, {std::nullopt}, {0}},
      {"a new scale", {b}, {{2, 1600, 1200, 1}}, {std::nullopt}, {0}},
      {"a new size", {a}, {{1, 800, 600, 1}}, {std::nullopt}, {0}},
      {"all gone", {a, b}, {}, {}, {0, 1}},
      {"from none", {}, {a}, {std::nullopt}, {}},
      {"listed twice: the scene goes to the first", {a}, {a, a}, {0, std::nullopt}, {}},
  };
  for (const auto& t : cases) {
    const saver::Replan decided = MatchOutputs(t.before, t.after);
    EXPECT_EQ(decided.keptFrom, t.kept) << t.what;
    EXPECT_EQ(decided.ended, t.ended) << t.what;
  }
}

TEST(OutputPlan, ThePictureUnderTheLeaves) {
  constexpr Pixel kDesktop = Rgb(48, 96, 160);
  const struct {
    const char* what;
    std::optional<PixelBuffer> copy;
    Pixel topLeft, bottomRight;
  } cases[] = {
      {"the copy", PixelBuffer(4, 3, kDesktop), kDesktop, kDesktop},
      {"no copy: the dark backdrop", std::nullopt, saver::kDarkBackdrop, saver::kDarkBackdrop},
      {"a smaller copy: at the top left over dark", PixelBuffer(2, 2, kDesktop), kDesktop, saver::kDarkBackdrop},
      {"a larger copy: cut", PixelBuffer(9, 9, kDesktop), kDesktop, kDesktop},
  };
  for (const auto& c : cases) {
    const PixelBuffer picture = OutputPicture(c.copy, 4, 3);
    ASSERT_EQ(picture.width(), 4) << c.what;
    ASSERT_EQ(picture.height(), 3) << c.what;
    EXPECT_EQ(picture.at(0, 0), c.topLeft) << c.what;
    EXPECT_EQ(picture.at(3, 2), c.bottomRight) << c.what;
  }
}

}  // namespace
}  // namespace kovaren::wayland
