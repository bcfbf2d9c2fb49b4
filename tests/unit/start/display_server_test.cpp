// Which display server the Linux program draws on: forced by a switch, X11 for any X window named
// or handed over, otherwise Wayland where the session has a compositor.
#include <gtest/gtest.h>

#include <vector>

#include "start/hack_switches.h"

namespace kovaren::start {
namespace {

TEST(DisplayServer, ChosenBySwitchWindowAndSession) {
  struct Case {
    std::vector<std::string_view> args;
    std::optional<std::string_view> handed;
    bool waylandSession;
    bool wayland;
  } cases[] = {
      {{"--fullscreen"}, std::nullopt, true, true},
      {{}, std::nullopt, true, true},                       // a window of its own
      {{"--fullscreen"}, std::nullopt, false, false},       // no compositor: X11
      {{"--root"}, "0x400001", true, false},                // the daemon's window is an X window
      {{"--root"}, std::nullopt, true, false},              // the X root window
      {{"--window-id", "0x2a"}, std::nullopt, true, false}, // the preview's X window
      {{"--x11", "--fullscreen"}, std::nullopt, true, false},
      {{"--wayland", "--fullscreen"}, std::nullopt, false, true},
      {{"--wayland", "--x11"}, std::nullopt, true, false},  // the last one counts
      {{"-wayland", "-window"}, std::nullopt, false, true},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseHackOptions(c.args, c.handed);
    ASSERT_TRUE(parsed.options) << c.args.front() << ": " << parsed.error;
    EXPECT_EQ(DrawsOnWayland(parsed, c.waylandSession), c.wayland) << c.args.front();
  }
}

TEST(DisplayServer, WaylandRefusesXWindows) {
  const std::vector<std::vector<std::string_view>> refused = {
      {"--wayland", "--root"}, {"--root", "--wayland"}, {"--wayland", "--window-id", "0x2a"}};
  for (const auto& args : refused) {
    const auto parsed = ParseHackOptions(args, "0x400001");
    EXPECT_FALSE(parsed.options) << args.front() << " " << args.back();
    EXPECT_NE(parsed.error.find("--wayland"), std::string::npos);
  }
}

}  // namespace
}  // namespace kovaren::start
