// The X11 program's switches: where it draws (with $XSCREENSAVER_WINDOW as the daemon and xsecurelock
// write it), the clamped count, the music file and the seed, and every refusal.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "settings_dialog/dialog_logic.h"
#include "settings_file/settings.h"
#include "start/hack_switches.h"

namespace kovaren::start {
namespace {

ParsedHackOptions Parse(std::vector<std::string_view> args, std::optional<std::string_view> handed = std::nullopt) {
  return ParseHackOptions(args, handed);
}

TEST(HackOptions, WhereItDraws) {
  struct Case {
    std::vector<std::string_view> args;
    std::optional<std::string_view> handed;
    HackTarget target;
    unsigned long windowId;
  } cases[] = {
      {{}, std::nullopt, HackTarget::OwnWindow, 0},
      {{}, "0x400001", HackTarget::OwnWindow, 0},  // the window is used only with --root
      {{"--window"}, std::nullopt, HackTarget::OwnWindow, 0},
      {{"--fullscreen"}, std::nullopt, HackTarget::FullScreen, 0},
      {{"-fullscreen", "--window"}, std::nullopt, HackTarget::OwnWindow, 0},  // the last one counts
      {{"--root"}, "0x400001", HackTarget::HandedWindow, 0x400001},            // the daemon: hexadecimal
      {{"-root"}, "4194305", HackTarget::HandedWindow, 4194305},               // xsecurelock: decimal
      {{"--root"}, " 0X4A \n", HackTarget::HandedWindow, 0x4A},
      {{"--root"}, std::nullopt, HackTarget::RootWindow, 0},
      {{"--root"}, "", HackTarget::RootWindow, 0},
      {{"--window-id", "0x2a00007"}, std::nullopt, HackTarget::PreviewWindow, 0x2a00007},
      {{"--root", "--window-id", "77"}, "0x400001", HackTarget::PreviewWindow, 77},  // the preview's own
  };
  for (const Case& c : cases) {
    const ParsedHackOptions parsed = Parse(c.args, c.handed);
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->target, c.target) << (c.args.empty() ? "" : c.args[0]);
    EXPECT_EQ(parsed.options->windowId, c.windowId);
  }
}

TEST(HackOptions, CountIsClampedToTheSettingsRange) {
  struct Case {
    std::string_view text;
    int count;
  } cases[] = {
      {"100", 100}, {"50", 50}, {"500", 500}, {"49", 49}, {"0", 0}, {"-7", 0},
      {"501", 500}, {"99999999999999999999999", 500}, {"-99999999999999999999999", 0}, {" 250 ", 250},
      {"18446744073709551616", 500}, {"-0", 0}, {"\t42\n", 42}, {"007", 7},
  };
  for (const Case& c : cases) {
    const ParsedHackOptions parsed = Parse({"--count", c.text});
    ASSERT_TRUE(parsed.options) << c.text;
    EXPECT_EQ(parsed.options->leafCount, c.count) << c.text;
  }
  EXPECT_EQ(Parse({}).options->leafCount, kLeafCounts.byDefault);
}

TEST(HackOptions, MusicSeedAndHelp) {
  const ParsedHackOptions parsed = Parse({"-music", "/home/u/秋.mp3", "--seed", "18446744073709551615", "--help"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(parsed.options->musicFile, "/home/u/秋.mp3");
  EXPECT_EQ(parsed.options->seed, 18446744073709551615ull);
  EXPECT_TRUE(parsed.options->help);
  EXPECT_FALSE(Parse({}).options->seed.has_value());
}

TEST(HackOptions, RefusesWhatItCannotUse) {
  struct Case {
    std::vector<std::string_view> args;
    std::optional<std::string_view> handed;
  } cases[] = {
      {{"--count"}, std::nullopt},         {{"--count", "many"}, std::nullopt},  {{"--count", "12x"}, std::nullopt},
      {{"--music"}, std::nullopt},         {{"--seed", "-1"}, std::nullopt},     {{"--seed"}, std::nullopt},
      {{"--window-id"}, std::nullopt},     {{"--window-id", "0"}, std::nullopt}, {{"--window-id", "0xZZ"}, std::nullopt},
      {{"--speed", "3"}, std::nullopt},    {{"leaves"}, std::nullopt},           {{"-"}, std::nullopt},
      {{"--root"}, "0x"},                  {{"--root"}, "window"},
      {{"--count", "+5"}, std::nullopt},   {{"--count", "5.0"}, std::nullopt},   {{"--count", "1e3"}, std::nullopt},
      {{"--count", ""}, std::nullopt},     {{"--count", "-"}, std::nullopt},     {{"--seed", "-0"}, std::nullopt},
      {{"--seed", "1.5"}, std::nullopt},   {{"--seed", "18446744073709551616"}, std::nullopt},
  };
  for (const Case& c : cases) {
    const ParsedHackOptions parsed = Parse(c.args, c.handed);
    EXPECT_FALSE(parsed.options) << c.args[0];
    EXPECT_FALSE(parsed.error.empty()) << c.args[0];
  }
}

TEST(WindowId, HexadecimalOrDecimalWithinThirtyTwoBits) {
  struct Case {
    std::string_view text;
    std::optional<unsigned long> id;
  } cases[] = {
      {"0x2a00007", 0x2a00007}, {"0XFFFFFFFF", 0xFFFFFFFFul}, {"44040199", 44040199ul}, {"\t12\n", 12ul},
      {"0x100000000", std::nullopt}, {"4294967296", std::nullopt}, {"0", std::nullopt}, {"0x0", std::nullopt},
      {"", std::nullopt}, {"0x", std::nullopt}, {"-5", std::nullopt}, {"+5", std::nullopt}, {"12 34", std::nullopt},
      {"-0", std::nullopt}, {"12.0", std::nullopt}, {"1e3", std::nullopt}, {"0x-5", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseWindowId(c.text), c.id) << c.text;
}

// The switch, the settings file and the dialog's bar offer one range, and --help says which.
TEST(HackOptions, CountRangeIsTheSettingsRange) {
  EXPECT_EQ(ClampLeafCount(LLONG_MIN), dialog::kCountMinimum);
  EXPECT_EQ(ClampLeafCount(LLONG_MAX), dialog::kCountMaximum);
  EXPECT_EQ(Parse({}).options->leafCount, kDefaultLeafCount);
  EXPECT_NE(HackUsage().find("N from 0 to 500 (default 100)"), std::string::npos) << HackUsage();
}

}  // namespace
}  // namespace kovaren::start
