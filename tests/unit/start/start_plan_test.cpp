// What start-up does for every kind of command line the host (or a user) gives, and that a running
// instance stops every start before anything is read.
#include "start/start_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kovaren::start {
namespace {

std::string Narrow(std::u16string_view text) { return {text.begin(), text.end()}; }

TEST(StartPlan, ModeSettingsWindowAndWhatTheSaverTakes) {
  constexpr saver::TakenAtStart kTakeBoth{.cursorHidden = true, .saverRunningSet = true};
  const StartPlan saver{.mode = Mode::Saver, .readSettings = true, .take = kTakeBoth};
  const StartPlan saverByHand{.mode = Mode::Saver, .readSettings = true};
  const StartPlan dialog{.mode = Mode::SettingsDialog, .readSettings = true};
  const StartPlan readThenEnd{.mode = Mode::Nothing, .readSettings = true};
  const StartPlan endAtOnce{};
  auto preview = [](std::intptr_t host) { return StartPlan{.mode = Mode::Preview, .host = {host}}; };
  struct Case {
    bool anotherInstanceShows;
    std::u16string_view commandLine;
    StartPlan expected;
  };
  const std::vector<Case> cases = {
      // the saver: with the switch it hides the cursor and sets the saver-running state; by hand neither
      {false, u"Kovaren.scr /s", saver},
      {false, u"Kovaren.scr /S", saver},
      {false, u"Kovaren.scr -s", saver},
      {false, u"Kovaren.scr /sx", saver},
      {false, u"\"C:\\Program Files\\Kovaren.scr\" /s", saver},
      {false, u"Kovaren.scr", saverByHand},
      {false, u"\"C:\\Program Files\\Kovaren.scr\"", saverByHand},
      // the dialog, with or without a handle after the switch (never its owner)
      {false, u"Kovaren.scr /c", dialog},
      {false, u"Kovaren.scr /C", dialog},
      {false, u"Kovaren.scr /c:1234", dialog},
      // the preview reads nothing and takes the host from the command line, even one naming no window
      {false, u"Kovaren.scr /p 1234", preview(1234)},
      {false, u"Kovaren.scr /P:66", preview(66)},
      {false, u"Kovaren.scr /p 4294967295", preview(-1)},
      {false, u"Kovaren.scr /p", preview(0)},
      // other switches read the settings, then end
      {false, u"Kovaren.scr /a 1234", readThenEnd},
      {false, u"Kovaren.scr  /s", readThenEnd},  // a blank first: the letter is the slash
      {false, u"Kovaren.scr s", readThenEnd},    // one character: no letter, but not empty
      {false, u"Kovaren.scr /z", readThenEnd},
      // a running saver or dialog ends every start before anything is read or taken
      {true, u"Kovaren.scr /s", endAtOnce},
      {true, u"Kovaren.scr", endAtOnce},
      {true, u"Kovaren.scr /c", endAtOnce},
      {true, u"Kovaren.scr /p 1234", endAtOnce},
      {true, u"Kovaren.scr /a", endAtOnce},
  };
  for (const Case& c : cases) {
    const StartPlan got = PlanStart({.anotherInstanceShows = c.anotherInstanceShows, .commandLine = c.commandLine});
    EXPECT_EQ(got, c.expected) << Narrow(c.commandLine) << (c.anotherInstanceShows ? " beside another instance" : "")
                               << ": mode " << static_cast<int>(got.mode) << " read " << got.readSettings << " host "
                               << got.host.value << " cursor " << got.take.cursorHidden << " running "
                               << got.take.saverRunningSet;
  }
}

}  // namespace
}  // namespace kovaren::start
