// The skinned button's behaviour through its public face: every transition row, the hover poll,
// the read-side redraws, the Click rule and the lifecycle before and after Initialize.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin_button/button.h"

namespace kovaren::skin_button {
namespace {

// Each look a flat, distinct colour, so the drawn picture can be read off the surface.
Pixel LookColour(Skin s) { return 0x100000u * (static_cast<unsigned>(s) + 1) + 0x42; }
SkinSet FlatSkins() {
  std::array<PixelBuffer, kSkinCount> pictures;
  for (int i = 0; i < kSkinCount; ++i) pictures[i] = PixelBuffer(kSkinWidth, kSkinHeight, LookColour(Skin(i)));
  return SkinSet(std::move(pictures));
}

class FakeSite final : public SkinButtonSite {
 public:
  std::optional<ScreenPoint> CursorPosition() override { return cursor; }
  bool IsOwnWindowAt(ScreenPoint) override { return pointerOverButton; }
  void Refresh() override { ++refreshes; }
  void PropertyChanged(std::string_view name) override { notices.emplace_back(name); }
  void Click() override { ++clicks; }

  std::optional<ScreenPoint> cursor = ScreenPoint{10, 10};
  bool pointerOverButton = false;
  int refreshes = 0;
  int clicks = 0;
  std::vector<std::string> notices;
};

// A button as the settings dialog makes it: from stored properties, placed, 81 x 25.
struct Fixture {
  FakeSite site;
  SkinButton button{site, FlatSkins()};
  Fixture(bool initialise = true) {
    MemoryPropertyStore stored;
    stored.Put("Caption", std::wstring(L"設定"));
    button.ReadProperties(stored);
    button.Resize(81, 25);
    if (initialise) button.Initialize();
  }
  std::optional<Skin> Look() const {
    for (int i = 0; i < kSkinCount; ++i) {
      if (button.surface().at(0, 0) == LookColour(Skin(i))) return Skin(i);
    }
    return std::nullopt;
  }
  // Drives the button into `target` through ordinary events, then forgets what that drew.
  void Reach(uint8_t target, bool pressed) {
    if (target == state::kUninitialised) {
      // Only a never-initialised button is in state 0.
    } else {
      if (target == state::kHover || target == state::kFocusedHover) button.MouseMove();
      if (target >= state::kFocused) button.GotFocus();
      if (target == state::kFocusedHover && button.buttonState() != state::kFocusedHover) button.MouseMove();
    }
    if (pressed) button.MouseDown(MouseButton::Left);
    site.pointerOverButton = target == state::kHover || target == state::kFocusedHover;
    site.refreshes = 0;
    site.clicks = 0;
    site.notices.clear();
  }
};

enum class Trigger { FocusGained, FocusLost, LeftDown, RightDown, Move, LeftUp, RightUp, MiddleUp, PollOutside, PollOver };

void Fire(Fixture& f, Trigger t) {
  switch (t) {
    case Trigger::FocusGained: f.button.GotFocus(); break;
    case Trigger::FocusLost: f.button.LostFocus(); break;
    case Trigger::LeftDown: f.button.MouseDown(MouseButton::Left); break;
    case Trigger::RightDown: f.button.MouseDown(MouseButton::Right); break;
    case Trigger::Move: f.button.MouseMove(); break;
    case Trigger::LeftUp: f.button.MouseUp(MouseButton::Left); break;
    case Trigger::RightUp: f.button.MouseUp(MouseButton::Right); break;
    case Trigger::MiddleUp: f.button.MouseUp(MouseButton::Middle); break;
    case Trigger::PollOutside: f.site.pointerOverButton = false; f.button.PollTick(); break;
    case Trigger::PollOver: f.site.pointerOverButton = true; f.button.PollTick(); break;
  }
}

constexpr std::optional<Skin> kNoDraw = std::nullopt;

TEST(SkinButtonTransitions, EveryRow) {
  struct Row {
    Trigger trigger;
    uint8_t from;
    bool pressed;  // left button held before the trigger
    uint8_t to;
    std::optional<Skin> drawn;
    int clicks;
  };
  using enum Trigger;
  using S = Skin;
  const Row rows[] = {
      {FocusGained, 0, false, 3, S::Selected, 0},  {FocusGained, 1, false, 3, S::Selected, 0},
      {FocusGained, 2, false, 4, S::Pressed, 0},   {FocusGained, 3, false, 3, S::Selected, 0},
      {FocusGained, 4, false, 3, S::Selected, 0},
      {FocusLost, 0, false, 1, S::Normal, 0},      {FocusLost, 1, false, 1, kNoDraw, 0},
      {FocusLost, 2, false, 1, S::Normal, 0},      {FocusLost, 3, false, 1, S::Normal, 0},
      {FocusLost, 4, false, 1, S::Normal, 0},
      {LeftDown, 1, false, 1, S::Pressed, 0},      {LeftDown, 2, false, 2, S::Pressed, 0},
      {LeftDown, 4, false, 4, S::Pressed, 0},      {RightDown, 2, false, 2, kNoDraw, 0},
      {RightDown, 4, false, 4, kNoDraw, 0},
      {Move, 0, false, 0, kNoDraw, 0},             {Move, 1, false, 2, S::HighLight, 0},
      {Move, 2, false, 2, kNoDraw, 0},             {Move, 3, false, 4, S::HighLightSelect, 0},
      {Move, 3, true, 3, kNoDraw, 0},              {Move, 4, false, 4, kNoDraw, 0},
      {Move, 1, true, 2, S::HighLight, 0},
      {LeftUp, 0, false, 0, kNoDraw, 1},           {LeftUp, 1, false, 1, kNoDraw, 1},
      {LeftUp, 2, true, 2, S::Normal, 1},          {LeftUp, 3, true, 3, kNoDraw, 0},
      {LeftUp, 4, true, 4, S::HighLightSelect, 1},
      {RightUp, 0, false, 0, kNoDraw, 1},          {RightUp, 1, false, 1, kNoDraw, 1},
      {RightUp, 2, false, 2, kNoDraw, 1},          {RightUp, 3, false, 3, kNoDraw, 0},
      {RightUp, 4, false, 4, kNoDraw, 1},          {MiddleUp, 2, false, 2, kNoDraw, 1},
      {MiddleUp, 3, false, 3, kNoDraw, 0},
      {PollOutside, 1, false, 1, kNoDraw, 0},      {PollOutside, 2, false, 1, S::Normal, 0},
      {PollOutside, 3, false, 3, kNoDraw, 0},      {PollOutside, 4, false, 3, S::Selected, 0},
      {PollOutside, 4, true, 3, S::Selected, 0},
      {PollOver, 2, false, 2, kNoDraw, 0},         {PollOver, 4, false, 4, kNoDraw, 0},
  };
  for (const Row& r : rows) {
    Fixture f(r.from != state::kUninitialised);
    f.Reach(r.from, r.pressed);
    ASSERT_EQ(f.button.buttonState(), r.from);
    const auto lookBefore = f.Look();
    Fire(f, r.trigger);
    const std::string where = "trigger " + std::to_string(int(r.trigger)) + " from state " + std::to_string(r.from) +
                              (r.pressed ? " pressed" : "");
    EXPECT_EQ(f.button.buttonState(), r.to) << where;
    EXPECT_EQ(f.site.clicks, r.clicks) << where;
    if (r.drawn) {
      EXPECT_EQ(f.Look(), r.drawn) << where;
      EXPECT_EQ(f.site.refreshes, 1) << where << ": one redraw per transition";
    } else {
      EXPECT_EQ(f.site.refreshes, 0) << where << ": nothing should be redrawn";
      EXPECT_EQ(f.Look(), lookBefore) << where;
    }
  }
}

TEST(SkinButtonTransitions, LeftButtonHeldFlag) {
  Fixture f;
  f.Reach(state::kHover, false);
  f.button.MouseDown(MouseButton::Right);
  EXPECT_FALSE(f.button.buttonDown());
  f.button.MouseDown(MouseButton::Left);
  EXPECT_TRUE(f.button.buttonDown());
  f.button.MouseUp(MouseButton::Right);
  EXPECT_TRUE(f.button.buttonDown()) << "only the left release ends the press";
  f.button.MouseUp(MouseButton::Left);
  EXPECT_FALSE(f.button.buttonDown());
}

TEST(SkinButtonTransitions, DisabledIgnoresEverything) {
  using enum Trigger;
  for (uint8_t from : {1, 2, 3, 4}) {
    for (Trigger t : {FocusGained, FocusLost, LeftDown, RightDown, Move, LeftUp, RightUp, MiddleUp, PollOutside}) {
      Fixture f;
      f.Reach(from, false);
      f.button.SetEnabled(false);
      ASSERT_EQ(f.Look(), Skin::Disable);
      EXPECT_FALSE(f.button.caption().enabled) << "a disabled caption is greyed";
      f.site.refreshes = 0;
      Fire(f, t);
      EXPECT_EQ(f.button.buttonState(), from) << int(t);
      EXPECT_EQ(f.site.clicks, 0) << int(t);
      EXPECT_EQ(f.site.refreshes, 0) << int(t);
      EXPECT_FALSE(f.button.buttonDown());
    }
  }
}

TEST(SkinButtonTransitions, ReEnablingDrawsNormalWhateverTheState) {
  for (uint8_t from : {1, 2, 3, 4}) {
    Fixture f;
    f.Reach(from, false);
    f.button.SetEnabled(false);
    f.button.SetEnabled(true);
    EXPECT_EQ(f.Look(), Skin::Normal);
    EXPECT_TRUE(f.button.caption().enabled);
    EXPECT_EQ(f.button.buttonState(), from);
  }
}

// Whole gestures as a user makes them; the platform gives focus on a left press, before the press.
TEST(SkinButtonGestures, ClickOnAnUnfocusedButton) {
  Fixture f;
  f.site.pointerOverButton = true;
  f.button.MouseMove();
  EXPECT_EQ(f.Look(), Skin::HighLight);
  f.button.GotFocus();
  EXPECT_EQ(f.Look(), Skin::Pressed);
  f.button.MouseDown(MouseButton::Left);
  EXPECT_EQ(f.Look(), Skin::Pressed);
  f.button.PollTick();
  f.button.MouseUp(MouseButton::Left);
  EXPECT_EQ(f.Look(), Skin::HighLightSelect);
  EXPECT_TRUE(f.button.hoverGradient()) << "after HighLight the shaded top stays";
  EXPECT_EQ(f.site.clicks, 1);
  // Leaving and coming back to the focused button: HighLightSelect now has the light top.
  f.site.pointerOverButton = false;
  f.button.PollTick();
  EXPECT_EQ(f.Look(), Skin::Selected);
  f.button.MouseMove();
  EXPECT_EQ(f.Look(), Skin::HighLightSelect);
  EXPECT_FALSE(f.button.hoverGradient());
  EXPECT_GT(RedOf(f.button.surface().at(40, 4)), RedOf(f.button.surface().at(40, 20))) << "light top";
}

TEST(SkinButtonGestures, DragOffAndBackRaisesNoClick) {
  for (bool comeBack : {false, true}) {
    Fixture f;
    f.site.pointerOverButton = true;
    f.button.MouseMove();
    f.button.GotFocus();
    f.button.MouseDown(MouseButton::Left);
    f.site.pointerOverButton = false;
    f.button.MouseMove();  // moves outside arrive too while the press holds the mouse
    f.button.PollTick();
    EXPECT_EQ(f.Look(), Skin::Selected);
    if (comeBack) {
      f.site.pointerOverButton = true;
      f.button.MouseMove();
      f.button.PollTick();
      EXPECT_EQ(f.Look(), Skin::Selected) << "the held press keeps it Selected";
    }
    f.button.MouseUp(MouseButton::Left);
    EXPECT_EQ(f.site.clicks, 0);
    EXPECT_EQ(f.button.buttonState(), state::kFocused);
    // The next move over it brings the hover look back.
    f.button.MouseMove();
    EXPECT_EQ(f.Look(), Skin::HighLightSelect);
  }
}

TEST(SkinButtonGestures, CancelledPressEndsWithoutClick) {
  Fixture f;
  f.site.pointerOverButton = true;
  f.button.MouseMove();
  f.button.GotFocus();
  f.button.MouseDown(MouseButton::Left);
  f.button.CancelPress();
  EXPECT_FALSE(f.button.buttonDown());
  EXPECT_EQ(f.Look(), Skin::HighLightSelect);
  EXPECT_EQ(f.site.clicks, 0);
  // A press lost while dragged off no longer blocks the next click.
  f.button.MouseDown(MouseButton::Left);
  f.site.pointerOverButton = false;
  f.button.PollTick();
  f.button.CancelPress();
  f.site.pointerOverButton = true;
  f.button.MouseMove();
  f.button.MouseDown(MouseButton::Left);
  f.button.MouseUp(MouseButton::Left);
  EXPECT_EQ(f.site.clicks, 1);
}

TEST(SkinButtonGestures, TabInAndOut) {
  Fixture f;
  f.button.GotFocus();
  EXPECT_EQ(f.Look(), Skin::Selected);
  f.button.PollTick();
  EXPECT_EQ(f.Look(), Skin::Selected);
  f.button.LostFocus();
  EXPECT_EQ(f.Look(), Skin::Normal);
  EXPECT_EQ(f.button.buttonState(), state::kIdle);
}

TEST(SkinButtonPoll, UnreadablePointerKeepsTheLook) {
  Fixture f;
  f.Reach(state::kHover, false);
  f.site.cursor.reset();
  f.site.pointerOverButton = false;
  f.button.PollTick();
  EXPECT_EQ(f.button.buttonState(), state::kHover);
}

TEST(SkinButtonLifecycle, BeforeInitialize) {
  Fixture f(false);
  EXPECT_FALSE(f.button.pollActive());
  f.site.pointerOverButton = true;
  f.button.MouseMove();
  EXPECT_EQ(f.button.buttonState(), state::kUninitialised);
  EXPECT_EQ(f.Look(), Skin::Normal);
  f.button.GotFocus();
  EXPECT_EQ(f.Look(), Skin::Selected);
  f.button.LostFocus();
  EXPECT_EQ(f.button.buttonState(), state::kIdle);
  f.button.MouseMove();
  EXPECT_EQ(f.Look(), Skin::HighLight);
  // Without the poll the hover look outlives the pointer.
  f.site.pointerOverButton = false;
  f.button.PollTick();
  EXPECT_EQ(f.Look(), Skin::HighLight);
  // Initialize resets the state to 1 without drawing, so the stale look waits for the next move.
  f.button.Initialize();
  EXPECT_TRUE(f.button.pollActive());
  f.button.PollTick();
  EXPECT_EQ(f.button.buttonState(), state::kIdle);
  EXPECT_EQ(f.Look(), Skin::HighLight);
}

TEST(SkinButtonLifecycle, FreshInstanceWaitsForTheFirstEnabledRead) {
  FakeSite site;
  SkinButton button(site, FlatSkins());
  button.Resize(81, 25);
  button.Initialize();
  EXPECT_EQ(button.firstRun(), 0);
  EXPECT_EQ(button.caption().text, L"Command");
  button.MouseMove();
  button.GotFocus();
  button.MouseUp(MouseButton::Left);
  EXPECT_EQ(button.buttonState(), state::kIdle);
  EXPECT_EQ(site.clicks, 0);
  EXPECT_TRUE(button.Enabled());
  EXPECT_EQ(button.firstRun(), 1);
  EXPECT_EQ(button.drawnSkin(), Skin::Normal);
  button.MouseMove();
  EXPECT_EQ(button.buttonState(), state::kHover);
}

TEST(SkinButtonProperties, ReadsRedrawNormalAndKeepTheState) {
  struct Read {
    const char* name;
    void (*read)(SkinButton&);
  };
  const Read reads[] = {
      {"FontColour", [](SkinButton& c) { c.FontColour(); }},
      {"Visible", [](SkinButton& c) { EXPECT_EQ(c.Visible(), 255); }},
      {"Enabled", [](SkinButton& c) { EXPECT_TRUE(c.Enabled()); }},
  };
  for (const Read& r : reads) {
    for (uint8_t from : {2, 3, 4}) {
      Fixture f;
      f.Reach(from, false);
      ASSERT_NE(f.Look(), Skin::Normal);
      r.read(f.button);
      EXPECT_EQ(f.Look(), Skin::Normal) << r.name << " in state " << int(from);
      EXPECT_EQ(f.button.buttonState(), from) << r.name;
      // The look and the state now differ until the next transition.
      f.site.pointerOverButton = false;
      f.button.PollTick();
      if (from == state::kFocusedHover) {
        EXPECT_EQ(f.Look(), Skin::Selected);
      }
    }
  }
}

TEST(SkinButtonProperties, VisibleSwitchesTheBackground) {
  Fixture f;
  f.Reach(state::kHover, false);
  f.button.SetVisible(0);
  EXPECT_FALSE(f.button.opaque());
  EXPECT_EQ(f.Look(), Skin::HighLight) << "turning transparent does not redraw";
  EXPECT_EQ(f.button.Visible(), 0);
  EXPECT_EQ(f.Look(), Skin::HighLight) << "reading a transparent Visible does not redraw";
  f.button.SetVisible(7);
  EXPECT_TRUE(f.button.opaque());
  EXPECT_EQ(f.Look(), Skin::Normal);
  EXPECT_EQ(f.site.notices, (std::vector<std::string>{"Visible", "Visible"}));
}

TEST(SkinButtonProperties, SettersNotifyTheHost) {
  Fixture f;
  f.button.SetCaption(L"キャンセル");
  FontSpec big = DesignFont();
  big.sizeHundredthsPt = 1200;
  f.button.SetFont(big);
  f.button.SetFontColour(0x0000FF);
  f.button.SetEnabled(true);
  EXPECT_EQ(f.site.notices, (std::vector<std::string>{"Caption", "Font", "FontColour", "Enabled"}));
  EXPECT_EQ(f.button.caption().text, L"キャンセル");
  EXPECT_EQ(f.button.caption().font, big);
  EXPECT_EQ(f.button.FontColour(), 0x0000FFu) << "a set-up button keeps its colour through ResetLook";
}

TEST(SkinButtonProperties, ColourOfAFreshInstanceFallsBackToBlack) {
  FakeSite site;
  SkinButton button(site, FlatSkins());
  button.Resize(81, 25);
  EXPECT_TRUE(button.Enabled());
  button.SetFontColour(0x00FF00);
  EXPECT_EQ(button.FontColour(), 0x00FF00u);
  EXPECT_EQ(button.caption().colour, 0x00FF00u);
}

TEST(SkinButtonDrawing, CaptionSitsAboveCentreAtEverySize) {
  Fixture f;
  EXPECT_EQ(f.button.caption().box, (Rect{0, 5, 81, 13}));
  f.button.Resize(29, 21);
  EXPECT_EQ(f.button.caption().box, (Rect{0, 3, 29, 13}));
  EXPECT_EQ(f.Look(), Skin::Normal) << "a resize redraws by the Enabled value";
}

}  // namespace
}  // namespace kovaren::skin_button
