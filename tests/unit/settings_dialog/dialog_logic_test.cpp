// The settings dialog's behaviour against its control model: what loading shows, how the options,
// the scroll bar and the file chooser change it, and exactly what a save writes.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "settings_dialog/dialog_layout.h"
#include "settings_dialog/dialog_logic.h"

namespace kovaren::dialog {
namespace {

using Write = std::tuple<std::string, std::string, std::string>;

std::vector<Write> SaveAndRecord(DialogLogic& logic) {
  std::vector<Write> writes;
  for (const IniEntry& e : logic.EntriesToSave()) writes.emplace_back(std::string(e.section), std::string(e.key), e.value);
  return writes;
}

Settings Defaults() {  // what an absent settings file gives
  Settings s;
  s.leafCount = kDefaultLeafCount;
  return s;
}

TEST(DialogLoad, ScrollBarTakesOnlyCountsInItsRangeWhileTheLabelShowsTheStoredNumber) {
  struct Case {
    int16_t stored;
    int bar;
    const char* label;
  } cases[] = {
      {100, 100, "100"}, {250, 250, "250"}, {50, 50, "50"}, {500, 500, "500"},
      {501, 100, "501"}, {49, 49, "49"}, {30, 30, "30"}, {0, 0, "0"}, {-1, 100, "-1"}, {-5, 100, "-5"},
  };
  for (const Case& c : cases) {
    Settings s = Defaults();
    s.leafCount = c.stored;
    DialogLogic logic(s);
    logic.Load(std::nullopt);
    EXPECT_EQ(logic.controls().count.value, c.bar) << c.stored;
    EXPECT_EQ(logic.controls().countLabel, c.label) << c.stored;
  }
}

TEST(DialogLoad, OptionMarksComboTextAndFileLabel) {
  struct Case {
    int16_t kind;
    std::array<bool, 3> on;
    int16_t repeat;
    const char* text;
  } cases[] = {
      {0, {true, false, false}, 0, ""},   {1, {false, true, false}, 7, "7"},
      {2, {false, false, true}, 12, "12"}, {3, {false, false, false}, -3, "-3"},
      {-1, {false, false, false}, 99, "99"},
  };
  for (const Case& c : cases) {
    Settings s = Defaults();
    s.bgmKind = c.kind;
    s.bgmRepeat = c.repeat;
    s.bgmFile = "C:\\\x89\xB9\x8A\x79\\a.mp3";  // a path with double-byte characters
    DialogLogic logic(s);
    logic.Load(std::nullopt);
    EXPECT_EQ(logic.controls().optionOn, c.on) << c.kind;
    EXPECT_EQ(logic.controls().repeatText, c.text) << c.repeat;
    EXPECT_EQ(logic.controls().fileLabel, s.bgmFile);
  }
}

TEST(DialogLoad, RepeatListOffersNoRepeatThenEveryTrackInOrder) {
  Settings s = Defaults();
  DialogLogic logic(s);
  logic.Load(std::nullopt);
  const auto& list = logic.controls().repeatList;
  ASSERT_EQ(list.size(), static_cast<size_t>(kLastListedTrack) + 1);
  EXPECT_EQ(list.front(), "");
  for (int track = 1; track <= kLastListedTrack; ++track) EXPECT_EQ(list[track], std::to_string(track));
}

TEST(DialogLoad, ZoomPointIsTheCursorOrTheScreenCorner) {
  struct Case {
    std::optional<ScreenPoint> cursor;
    ZoomPoint expected;
  } cases[] = {
      {ScreenPoint{300, 200}, {300, 200}}, {std::nullopt, {0, 0}}, {ScreenPoint{-40, 10}, {-40, 10}},
      {ScreenPoint{40000, 10}, {0, 10}},  // a coordinate beyond 16 bits keeps its start value
  };
  for (const Case& c : cases) {
    Settings s = Defaults();
    DialogLogic logic(s);
    logic.Load(c.cursor);
    EXPECT_EQ(logic.zoomPoint(), c.expected);
  }
  EXPECT_EQ(PointRect({300, -2}), (ScreenRect{300, -2, 300, -2}));
}

TEST(DialogOptions, ClickOnMarkOrCaptionSelectsThatKindOnly) {
  // Client points inside each mark and caption, by kind; on screen the order is 1, 0, 2.
  struct Case {
    int x, y;
    int kind;
  } cases[] = {
      {16 + 36, 16 + 60, 0}, {16 + 48, 16 + 72, 0}, {16 + 52, 16 + 60, 0}, {16 + 74, 16 + 72, 0},
      {16 + 40, 16 + 45, 1}, {16 + 94, 16 + 52, 1}, {16 + 40, 16 + 85, 2}, {16 + 111, 16 + 92, 2},
  };
  for (const Case& c : cases) {
    const Hit hit = HitTest(c.x, c.y);
    ASSERT_EQ(hit, (Hit{ClickTarget::Option, c.kind})) << c.x << "," << c.y;
    Settings s = Defaults();
    s.bgmKind = 1;
    s.bgmRepeat = 4;
    s.bgmFile = "C:\\a.wav";
    DialogLogic logic(s);
    logic.Load(std::nullopt);
    const DialogControls before = logic.controls();
    logic.SelectOption(hit.option);
    EXPECT_EQ(s.bgmKind, c.kind);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(logic.controls().optionOn[k], k == c.kind);
    // Nothing else moves: the combo box, the file and the count stay as they were.
    EXPECT_EQ(logic.controls().repeatText, before.repeatText);
    EXPECT_EQ(logic.controls().fileLabel, before.fileLabel);
    EXPECT_EQ(logic.controls().count.value, before.count.value);
    EXPECT_EQ(s.bgmFile, "C:\\a.wav");
  }
}

TEST(DialogOptions, PointsBesideTheControlsHitNothingAndTheAddressIsItsOwnTarget) {
  const std::pair<int, int> nothing[] = {{16 + 35, 16 + 60}, {16 + 49, 16 + 40}, {16 + 75, 16 + 60},
                                         {16 + 52, 16 + 73}, {0, 0},             {300, 170}};
  for (auto [x, y] : nothing) EXPECT_EQ(HitTest(x, y).target, ClickTarget::Nothing) << x << "," << y;
  EXPECT_EQ(HitTest(16, 168).target, ClickTarget::WebAddress);
  EXPECT_EQ(HitTest(234, 180).target, ClickTarget::WebAddress);
  EXPECT_EQ(HitTest(235, 180).target, ClickTarget::Nothing);
}

TEST(DialogOptions, SelectingAgainOrOutsideTheGroupChangesNothing) {
  Settings s = Defaults();
  s.bgmKind = 2;
  DialogLogic logic(s);
  logic.Load(std::nullopt);
  logic.SelectOption(2);
  EXPECT_EQ(s.bgmKind, 2);
  for (int bad : {-1, 3, 100}) {
    logic.SelectOption(bad);
    EXPECT_EQ(s.bgmKind, 2);
    EXPECT_EQ(logic.controls().optionOn, (std::array<bool, 3>{false, false, true}));
  }
}

TEST(DialogScroll, EveryMoveStaysInRangeAndTheLabelFollows) {
  struct Case {
    int start;
    ScrollAction action;
    int thumb;
    int expected;
  } cases[] = {
      {100, ScrollAction::LineRight, 0, 110}, {100, ScrollAction::LineLeft, 0, 90},
      {100, ScrollAction::PageRight, 0, 150}, {100, ScrollAction::PageLeft, 0, 50},
      {5, ScrollAction::LineLeft, 0, 0},      {30, ScrollAction::PageLeft, 0, 0},
      {0, ScrollAction::LineLeft, 0, 0},      {37, ScrollAction::LineRight, 0, 47},
      {500, ScrollAction::LineRight, 0, 500}, {495, ScrollAction::PageRight, 0, 500},
      {100, ScrollAction::ToMinimum, 0, 0},   {100, ScrollAction::ToMaximum, 0, 500},
      {100, ScrollAction::Thumb, 321, 321},   {100, ScrollAction::Thumb, 9999, 500},
      {100, ScrollAction::Thumb, -3, 0},
  };
  for (const Case& c : cases) {
    Settings s = Defaults();
    s.leafCount = static_cast<int16_t>(c.start);
    DialogLogic logic(s);
    logic.Load(std::nullopt);
    logic.Scroll(c.action, c.thumb);
    EXPECT_EQ(logic.controls().count.value, c.expected) << c.start << " " << static_cast<int>(c.action);
    EXPECT_EQ(logic.controls().countLabel, std::to_string(c.expected));
  }
}

TEST(DialogScroll, DraggingTheThumbUpdatesTheLabelAtEveryStep) {
  Settings s = Defaults();
  s.leafCount = 700;  // refused: the bar starts at 100, the label at 700
  DialogLogic logic(s);
  logic.Load(std::nullopt);
  EXPECT_EQ(logic.controls().countLabel, "700");
  for (int v = 100; v <= 140; v += 7) {
    logic.Scroll(ScrollAction::Thumb, v);
    EXPECT_EQ(logic.controls().countLabel, std::to_string(v));
  }
  EXPECT_EQ(s.leafCount, 700) << "the count in memory is never changed by the dialog";
}

TEST(DialogRepeat, ComboTextReadsAsARoundedNumber) {
  struct Case {
    const char* text;
    int16_t previous;
    int16_t expected;
  } cases[] = {
      {"7", 3, 7},           {"12.5", 3, 12},        {"13.5", 3, 14},       {"abc", 3, 0},
      {"", 3, 0},            {"   ", 3, 0},          {" 7 ", 3, 7},         {"\t8", 3, 8},
      {"+3", 0, 3},          {"-2.5", 0, -2},        {"-3.5", 0, -4},       {"0.5", 9, 0},
      {"1e1", 0, 10},        {"2.5E+0", 0, 2},       {".5", 9, 0},          {"5.", 0, 5},
      {"32767", 0, 32767},   {"-32768", 0, -32768},  {"-32768.5", 0, -32768},
      {"32767.5", 4, 4},     {"99999", 4, 4},        {"-40000", 4, 4},      {"1e999", 4, 4},
      {"7a", 3, 0},          {"1e", 3, 0},           {"e3", 3, 0},          {".", 3, 0},
      {"inf", 3, 0},         {"nan", 3, 0},          {"0x10", 3, 0},        {"1 2", 3, 0},
      {"--1", 3, 0},         {"1,5", 3, 0},
      {"1e-400", 3, 0},      {"-1e-400", 3, 0},      {"0.5e-999", 3, 0},    {"-1e400", 4, 4},
  };
  for (const Case& c : cases) EXPECT_EQ(RepeatFromText(c.text, c.previous), c.expected) << '"' << c.text << '"';
}

TEST(DialogFile, ChooserAnswersChangeOnlyTheFileAndItsLabel) {
  const std::string longPath = "C:\\" + std::string(kMaxStoredPathBytes - 3 - 4, 'a') + ".mp3";
  ASSERT_EQ(longPath.size(), kMaxStoredPathBytes);
  struct Case {
    FileChooserAnswer answer;
    FileChoice result;
    std::string file;
  } cases[] = {
      {{true, true, "D:\\music\\song.mp3"}, FileChoice::Taken, "D:\\music\\song.mp3"},
      {{true, true, longPath}, FileChoice::Taken, longPath},
      {{false, true, ""}, FileChoice::Unchanged, "C:\\old.wav"},
      {{true, true, ""}, FileChoice::Unchanged, "C:\\old.wav"},
      {{true, false, "D:\\?.mp3"}, FileChoice::Refused, "C:\\old.wav"},
      {{true, true, longPath + "x"}, FileChoice::Refused, "C:\\old.wav"},
  };
  for (const Case& c : cases) {
    Settings s = Defaults();
    s.bgmKind = 0;
    s.bgmFile = "C:\\old.wav";
    DialogLogic logic(s);
    logic.Load(std::nullopt);
    EXPECT_EQ(logic.ApplyFileChoice(c.answer), c.result) << c.answer.path;
    EXPECT_EQ(s.bgmFile, c.file);
    EXPECT_EQ(logic.controls().fileLabel, c.file);
    EXPECT_EQ(s.bgmKind, 0) << "choosing a file does not select the file option";
    EXPECT_EQ(logic.controls().optionOn[0], true);
  }
}

TEST(DialogSave, WritesTheFourKeysInOrderAsNumberText) {
  const std::string section(kSettingsSection), kind(kKeyBgmKind), repeat(kKeyBgmRepeat),
      file(kKeyBgmFile), count(kKeyLeafCount);
  Settings s = Defaults();
  DialogLogic logic(s);
  logic.Load(ScreenPoint{1, 2});
  EXPECT_EQ(SaveAndRecord(logic),
            (std::vector<Write>{{section, kind, " 0"}, {section, repeat, " 0"}, {section, file, ""},
                                {section, count, " 100"}}));
}

TEST(DialogSave, WhatTheUserDidIsWhatIsWritten) {
  struct Case {
    const char* what;
    Settings stored;
    std::function<void(DialogLogic&)> act;
    const char* kind;
    const char* repeat;
    const char* file;
    const char* count;
    int16_t repeatAfter;
  };
  auto with = [](int16_t count, int16_t kind, int16_t repeat, std::string file) {
    return Settings{count, kind, repeat, std::move(file)};
  };
  const Case cases[] = {
      {"file option, no file", with(100, 0, 0, ""), [](DialogLogic& l) { l.SelectOption(2); }, " 2", " 0", "", " 100", 0},
      {"typed 7", with(100, 1, 0, ""), [](DialogLogic& l) { l.SetRepeatText("7"); }, " 1", " 7", "", " 100", 7},
      {"typed 13.5", with(100, 1, 0, ""), [](DialogLogic& l) { l.SetRepeatText("13.5"); }, " 1", " 14", "", " 100", 14},
      {"cleared combo", with(100, 1, 5, ""), [](DialogLogic& l) { l.SetRepeatText(""); }, " 1", " 0", "", " 100", 0},
      {"combo beyond 16 bits", with(100, 1, 4, ""), [](DialogLogic& l) { l.SetRepeatText("70000"); }, " 1", " 4", "", " 100", 4},
      {"moved the bar", with(100, 0, 0, ""), [](DialogLogic& l) { l.Scroll(ScrollAction::Thumb, 333); }, " 0", " 0", "", " 333", 0},
      {"refused count", with(900, 0, 0, ""), [](DialogLogic&) {}, " 0", " 0", "", " 100", 0},
      {"kind out of group", with(100, 5, 0, ""), [](DialogLogic&) {}, " 5", " 0", "", " 100", 0},
      {"negative kind and track", with(100, -1, -2, ""), [](DialogLogic&) {}, "-1", "-2", "", " 100", -2},
      {"file while none", with(100, 0, 0, ""),
       [](DialogLogic& l) { l.ApplyFileChoice({true, true, "E:\\b.mp3"}); }, " 0", " 0", "E:\\b.mp3", " 100", 0},
      {"file kept", with(60, 2, 0, "C:\\a.wav"), [](DialogLogic&) {}, " 2", " 0", "C:\\a.wav", " 60", 0},
      {"count below 50 kept", with(30, 0, 0, ""), [](DialogLogic&) {}, " 0", " 0", "", " 30", 0},
      {"count 0 kept", with(0, 0, 0, ""), [](DialogLogic&) {}, " 0", " 0", "", " 0", 0},
      {"negative count refused", with(-4, 0, 0, ""), [](DialogLogic&) {}, " 0", " 0", "", " 100", 0},
  };
  for (const Case& c : cases) {
    Settings s = c.stored;
    DialogLogic logic(s);
    logic.Load(std::nullopt);
    c.act(logic);
    const std::vector<Write> writes = SaveAndRecord(logic);
    ASSERT_EQ(writes.size(), 4u) << c.what;
    EXPECT_EQ(std::get<2>(writes[0]), c.kind) << c.what;
    EXPECT_EQ(std::get<2>(writes[1]), c.repeat) << c.what;
    EXPECT_EQ(std::get<2>(writes[2]), c.file) << c.what;
    EXPECT_EQ(std::get<2>(writes[3]), c.count) << c.what;
    EXPECT_EQ(s.bgmRepeat, c.repeatAfter) << c.what;
    EXPECT_EQ(s.leafCount, c.stored.leafCount) << c.what;
  }
}

TEST(DialogPlacement, CentredAcrossOneThirdDownTruncatingTowardZero) {
  struct Case {
    int sw, sh, ww, wh;
    Placement expected;
  } cases[] = {
      {1024, 768, 466, 243, {279, 175}}, {1024, 768, 467, 244, {278, 174}},
      {800, 600, 800, 600, {0, 0}},      {300, 200, 466, 243, {-83, -14}},
  };
  for (const Case& c : cases) EXPECT_EQ(PlaceDialog(c.sw, c.sh, c.ww, c.wh), c.expected);
}

}  // namespace
}  // namespace kovaren::dialog
