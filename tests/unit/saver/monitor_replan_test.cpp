// Which scenes survive a change of screens: kept where a monitor stayed put at its scale, black
// where one is new or changed, ended where one went away.
#include "saver/monitor_replan.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace kovaren::saver {
namespace {

TEST(DecideReplan, KeepsMonitorsThatStayedStartsNewOnesEndsRemovedOnes) {
  const MonitorPlan two = {{0, 0, 3840, 1080}, {{{0, 0, 1920, 1080}, 1}, {{1920, 0, 1920, 1080}, 1}}};
  const MonitorPlan leftAdded = {{-1280, 0, 5120, 1080},
                                 {{{1280, 0, 1920, 1080}, 1},
                                  {{3200, 0, 1920, 1080}, 1},
                                  {{0, 0, 1280, 1024}, 1}}};
  const MonitorPlan primaryOnly = {{0, 0, 1920, 1080}, {{{0, 0, 1920, 1080}, 1}}};
  const MonitorPlan secondResized = {{0, 0, 3200, 1080}, {{{0, 0, 1920, 1080}, 1}, {{1920, 0, 1280, 1024}, 1}}};
  const MonitorPlan secondRescaled = {{0, 0, 3840, 1080}, {{{0, 0, 1920, 1080}, 1}, {{1920, 0, 1920, 1080}, 2}}};
  const MonitorPlan swapped = {{0, 0, 3840, 1080}, {{{1920, 0, 1920, 1080}, 1}, {{0, 0, 1920, 1080}, 1}}};
  const MonitorPlan none = {{0, 0, 0, 0}, {}};
  const struct {
    const MonitorPlan& before;
    const MonitorPlan& after;
    std::vector<std::optional<size_t>> keptFrom;
    std::vector<size_t> ended;
  } cases[] = {
      {two, two, {0, 1}, {}},
      {two, leftAdded, {0, 1, std::nullopt}, {}},  // the window moved left; the old two stay put
      {two, primaryOnly, {0}, {1}},
      {primaryOnly, two, {0, std::nullopt}, {}},
      {two, secondResized, {0, std::nullopt}, {1}},
      {two, secondRescaled, {0, std::nullopt}, {1}},
      {two, swapped, {1, 0}, {}},
      {two, none, {}, {0, 1}},
      {none, primaryOnly, {std::nullopt}, {}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Replan r = DecideReplan(cases[i].before, cases[i].after);
    EXPECT_EQ(r.keptFrom, cases[i].keptFrom) << "case " << i;
    EXPECT_EQ(r.ended, cases[i].ended) << "case " << i;
  }
}

}  // namespace
}  // namespace kovaren::saver
