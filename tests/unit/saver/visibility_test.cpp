// Seen or unseen after any sequence of display and session notifications, and a resume that runs
// one pass, never a catch-up burst.
#include "saver/visibility.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "saver/pass_clock.h"

namespace kovaren::saver {
namespace {

using Event = std::variant<DisplayState, SessionEvent>;

struct Step {
  Event event;
  Visibility after;
  bool resumed;  // unseen -> draw on this step
};

constexpr auto kDraw = Visibility::kDraw;
constexpr auto kUnseen = Visibility::kUnseen;

bool Feed(VisibilityState& state, const Event& event) {
  if (const auto* d = std::get_if<DisplayState>(&event)) return state.OnDisplay(*d);
  return state.OnSession(std::get<SessionEvent>(event));
}

TEST(VisibilityState, AnyOrderOfEventsGivesTheRightState) {
  using D = DisplayState;
  using S = SessionEvent;
  const std::vector<std::vector<Step>> sequences = {
      {{D::kOff, kUnseen, false}, {D::kOn, kDraw, true}},
      {{D::kDimmed, kDraw, false}, {D::kOff, kUnseen, false}, {D::kDimmed, kDraw, true}},
      {{D::kOff, kUnseen, false}, {D::kOff, kUnseen, false}, {D::kOn, kDraw, true},
       {D::kOn, kDraw, false}},
      // Each reason holds on its own: the display coming on does not unlock the session.
      {{S::kLock, kUnseen, false}, {D::kOff, kUnseen, false}, {D::kOn, kUnseen, false},
       {S::kUnlock, kDraw, true}},
      {{D::kOff, kUnseen, false}, {S::kLock, kUnseen, false}, {S::kUnlock, kUnseen, false},
       {D::kDimmed, kDraw, true}},
      {{S::kDisconnect, kUnseen, false}, {S::kLock, kUnseen, false}, {S::kConnect, kUnseen, false},
       {S::kUnlock, kDraw, true}},
      {{S::kLock, kUnseen, false}, {S::kDisconnect, kUnseen, false}, {S::kUnlock, kUnseen, false},
       {S::kConnect, kDraw, true}},
      // Notifications that arrive without their pair (we started while locked) do no harm.
      {{S::kUnlock, kDraw, false}, {S::kConnect, kDraw, false}, {D::kOn, kDraw, false}},
      {{S::kDisconnect, kUnseen, false}, {D::kOff, kUnseen, false}, {S::kConnect, kUnseen, false},
       {D::kOn, kDraw, true}},
  };
  for (size_t i = 0; i < sequences.size(); ++i) {
    VisibilityState state;
    EXPECT_EQ(state.Current(), kDraw);
    for (size_t j = 0; j < sequences[i].size(); ++j) {
      const Step& step = sequences[i][j];
      EXPECT_EQ(Feed(state, step.event), step.resumed) << "sequence " << i << " step " << j;
      EXPECT_EQ(state.Current(), step.after) << "sequence " << i << " step " << j;
    }
  }
}

TEST(VisibilityState, DisplayValuesMapOffOnDimmedAndUnknownAsOn) {
  EXPECT_EQ(DisplayStateFromValue(0), DisplayState::kOff);
  EXPECT_EQ(DisplayStateFromValue(1), DisplayState::kOn);
  EXPECT_EQ(DisplayStateFromValue(2), DisplayState::kDimmed);
  EXPECT_EQ(DisplayStateFromValue(7), DisplayState::kOn);
}

TEST(VisibilityState, ResumeAfterAnyPauseRunsOnePassThenPacesAgain) {
  constexpr int64_t kFreq = 600;  // 10 ticks per pass
  for (const int64_t pause : {int64_t{5}, int64_t{40}, int64_t{600 * 3600}}) {
    PassClock clock(kFreq, 0);
    ASSERT_EQ(clock.TakeDuePasses(0), 1);
    const int64_t resumeAt = 3 + pause;
    clock.Restart(resumeAt);
    EXPECT_EQ(clock.TakeDuePasses(resumeAt), 1) << "pause " << pause;
    EXPECT_EQ(clock.MillisecondsUntilNextPass(resumeAt), 17u) << "pause " << pause;
    EXPECT_EQ(clock.TakeDuePasses(resumeAt + 9), 0) << "pause " << pause;
    EXPECT_EQ(clock.TakeDuePasses(resumeAt + 10), 1) << "pause " << pause;
  }
}

}  // namespace
}  // namespace kovaren::saver
