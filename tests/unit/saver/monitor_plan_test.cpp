// The monitor plan: where the window goes and which scenes run, for the layouts desks really have and
// for the reports a driver should never give (no size, overlaps, absurd DPI).
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "saver/monitor_plan.h"

namespace kovaren::saver {
namespace {

TEST(ScaleForDpi, RoundsHalfUpAndStaysInRange) {
  const struct {
    int dpi, scale;
  } cases[] = {
      {96, 1},  {120, 1}, {143, 1}, {144, 2}, {192, 2}, {239, 2}, {240, 3}, {288, 3},
      {336, 4}, {0, 1},   {-96, 1}, {10000, 8}, {INT_MAX, 8}, {INT_MIN, 1}, {48, 1},
  };
  for (const auto& c : cases) EXPECT_EQ(ScaleForDpi(c.dpi), c.scale) << c.dpi << " DPI";
}

std::string Describe(const MonitorPlan& plan) {
  std::string s = "window " + std::to_string(plan.window.x) + "," + std::to_string(plan.window.y) + " " +
                  std::to_string(plan.window.w) + "x" + std::to_string(plan.window.h) + ";";
  for (const SceneArea& a : plan.scenes)
    s += " " + std::to_string(a.area.x) + "," + std::to_string(a.area.y) + " " + std::to_string(a.area.w) + "x" +
         std::to_string(a.area.h) + "@" + std::to_string(a.scale);
  return s;
}

TEST(PlanMonitors, CoversTheVirtualScreenWithOneSceneAMonitor) {
  const struct {
    const char* name;
    Rect virtualScreen;
    std::vector<MonitorReport> monitors;
    const char* plan;
  } cases[] = {
      {"one monitor, as always", {0, 0, 1920, 1080}, {{{0, 0, 1920, 1080}, 96, true}},
       "window 0,0 1920x1080; 0,0 1920x1080@1"},
      {"two side by side", {0, 0, 3840, 1080}, {{{0, 0, 1920, 1080}, 96, true}, {{1920, 0, 1920, 1080}, 96, false}},
       "window 0,0 3840x1080; 0,0 1920x1080@1 1920,0 1920x1080@1"},
      {"one left of the primary: negative x",
       {-1280, 0, 3200, 1080},
       {{{-1280, 56, 1280, 1024}, 96, false}, {{0, 0, 1920, 1080}, 96, true}},
       "window -1280,0 3200x1080; 1280,0 1920x1080@1 0,56 1280x1024@1"},
      {"stacked, the other above", {0, -1440, 2560, 2520},
       {{{0, 0, 1920, 1080}, 96, true}, {{0, -1440, 2560, 1440}, 144, false}},
       "window 0,-1440 2560x2520; 0,1440 1920x1080@1 0,0 2560x1440@2"},
      {"different DPIs: a 4K laptop at 200 % beside a 1080p screen", {0, 0, 5760, 2160},
       {{{0, 0, 3840, 2160}, 192, true}, {{3840, 0, 1920, 1080}, 96, false}},
       "window 0,0 5760x2160; 0,0 3840x2160@2 3840,0 1920x1080@1"},
      {"zero and negative sizes have no scene", {0, 0, 1920, 1080},
       {{{0, 0, 1920, 1080}, 96, true}, {{1920, 0, 0, 1080}, 96, false}, {{0, 1080, 800, -600}, 96, false}},
       "window 0,0 1920x1080; 0,0 1920x1080@1"},
      {"mirrored: the copy has no scene", {0, 0, 1920, 1080},
       {{{0, 0, 1920, 1080}, 96, true}, {{0, 0, 1920, 1080}, 120, false}},
       "window 0,0 1920x1080; 0,0 1920x1080@1"},
      {"overlapping: the second is cut back to its part beside the first", {0, 0, 3740, 1080},
       {{{0, 0, 1920, 1080}, 96, true}, {{1820, 0, 1920, 1080}, 96, false}},
       "window 0,0 3740x1080; 0,0 1920x1080@1 1920,0 1820x1080@1"},
      {"absurd DPIs: clamped", {0, 0, 3000, 1000},
       {{{0, 0, 1000, 1000}, 0, true}, {{1000, 0, 1000, 1000}, 10000, false}, {{2000, 0, 1000, 1000}, -5, false}},
       "window 0,0 3000x1000; 0,0 1000x1000@1 1000,0 1000x1000@8 2000,0 1000x1000@1"},
      {"a tiny monitor keeps one logical pixel", {0, 0, 1924, 1080},
       {{{0, 0, 1920, 1080}, 96, true}, {{1920, 0, 4, 3}, 768, false}},
       "window 0,0 1924x1080; 0,0 1920x1080@1 1920,0 4x3@3"},
      {"no virtual screen reported: the monitors' union", {0, 0, 0, 0},
       {{{-800, 0, 800, 600}, 96, false}, {{0, 0, 1024, 768}, 96, true}},
       "window -800,0 1824x768; 800,0 1024x768@1 0,0 800x600@1"},
      {"a monitor reaching past the virtual screen is cut to it", {0, 0, 1920, 1080},
       {{{0, 0, 1920, 1080}, 96, true}, {{1800, 900, 1920, 1080}, 96, false}},
       "window 0,0 1920x1080; 0,0 1920x1080@1"},
      {"edges near the int range do not overflow", {INT_MAX - 100, 0, 1000, 50},
       {{{INT_MAX - 100, 0, 1000, 50}, 96, true}},
       "window 2147483547,0 100x50; 0,0 100x50@1"},
      {"nothing at all", {0, 0, 0, 0}, {}, "window 0,0 0x0;"},
  };
  for (const auto& c : cases) {
    const MonitorPlan plan = PlanMonitors(c.virtualScreen, c.monitors);
    EXPECT_EQ(Describe(plan), c.plan) << c.name;
    for (size_t i = 0; i < plan.scenes.size(); ++i) {
      const Rect& a = plan.scenes[i].area;
      EXPECT_EQ(Intersect(a, {0, 0, plan.window.w, plan.window.h}), a) << c.name << ": scene " << i << " leaves the window";
      for (size_t j = i + 1; j < plan.scenes.size(); ++j)
        EXPECT_TRUE(Intersect(a, plan.scenes[j].area).empty()) << c.name << ": scenes " << i << " and " << j << " overlap";
    }
  }
}

}  // namespace
}  // namespace kovaren::saver

namespace kovaren::saver {
namespace {

TEST(PlanWindow, FallsBackToOneSceneOverTheWholeWindow) {
  const Rect window{0, 0, 1000, 500};
  const MonitorReport hiDpiRight[] = {{{0, 0, 400, 500}, 96, true}, {{400, 0, 600, 500}, 192, false}};
  const MonitorReport outside[] = {{{2000, 0, 400, 300}, 192, true}};
  const struct {
    const char* name;
    std::span<const MonitorReport> monitors;
    SceneLayout layout;
    std::vector<SceneArea> scenes;
  } cases[] = {
      {"per monitor", hiDpiRight, SceneLayout::PerMonitor, {{{0, 0, 400, 500}, 1}, {{400, 0, 600, 500}, 2}}},
      {"no monitor in the window", outside, SceneLayout::PerMonitor, {{{0, 0, 1000, 500}, 1}}},
      {"no monitors at all", {}, SceneLayout::PerMonitor, {{{0, 0, 1000, 500}, 1}}},
      {"one scene at the scale under its centre", hiDpiRight, SceneLayout::OneScene, {{{0, 0, 1000, 500}, 2}}},
      {"one scene, nothing under its centre", outside, SceneLayout::OneScene, {{{0, 0, 1000, 500}, 1}}},
  };
  for (const auto& c : cases) {
    const MonitorPlan plan = PlanWindow(window, c.monitors, c.layout);
    EXPECT_EQ(plan.window, window) << c.name;
    EXPECT_EQ(plan.scenes, c.scenes) << c.name;
  }
}

}  // namespace
}  // namespace kovaren::saver
