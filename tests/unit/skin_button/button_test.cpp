// The skinned button's behaviour through its public face: every transition row, the hover poll,
// the Click rule, the lifecycle before and after Initialize, and what its properties redraw.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin_button/button.h"
#include "unit/skin_button/button_fakes.h"

namespace kovaren::skin_button {
namespace {

using fakes::FakeSite;
using fakes::FlatSkins;

// A button as the settings dialog makes it: set up with its caption, placed, 81 x 25.
struct Fixture {
  FakeSite site;
  SkinButton button{site, FlatSkins(), ButtonSetup{.caption = L"設定"}};
  Fixture(bool initialise = true) {
    button.Resize(81, 25);
    if (initialise) button.Initialize();
  }
  std::optional<Skin> Look() const { return fakes::LookOf(button); }
  void Reach(ButtonState target, bool pressed) { fakes::Reach(button, site, target, pressed); }
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
constexpr ButtonState kStartedStates[] = {ButtonState::Idle, ButtonState::Hovered, ButtonState::Focused,
                                          ButtonState::FocusedHovered};

TEST(SkinButtonTransitions, EveryRow) {
  struct Row {
    Trigger trigger;
    ButtonState from;
    bool pressed;  // left button held before the trigger
    ButtonState to;
    std::optional<Skin> drawn;
    int clicks;
  };
  using enum Trigger;
  using enum ButtonState;
  using S = Skin;
  const Row rows[] = {
      {FocusGained, NotStarted, false, Focused, S::Selected, 0}, {FocusGained, Idle, false, Focused, S::Selected, 0},
      {FocusGained, Hovered, false, FocusedHovered, S::Pressed, 0},
      {FocusGained, Focused, false, Focused, S::Selected, 0},
      {FocusGained, FocusedHovered, false, Focused, S::Selected, 0},
      {FocusLost, NotStarted, false, Idle, S::Normal, 0},      {FocusLost, Idle, false, Idle, kNoDraw, 0},
      {FocusLost, Hovered, false, Idle, S::Normal, 0},         {FocusLost, Focused, false, Idle, S::Normal, 0},
      {FocusLost, FocusedHovered, false, Idle, S::Normal, 0},
      {LeftDown, Idle, false, Idle, S::Pressed, 0},            {LeftDown, Hovered, false, Hovered, S::Pressed, 0},
      {LeftDown, FocusedHovered, false, FocusedHovered, S::Pressed, 0},
      {RightDown, Hovered, false, Hovered, kNoDraw, 0},
      {RightDown, FocusedHovered, false, FocusedHovered, kNoDraw, 0},
      {Move, NotStarted, false, NotStarted, kNoDraw, 0},       {Move, Idle, false, Hovered, S::HighLight, 0},
      {Move, Hovered, false, Hovered, kNoDraw, 0},             {Move, Focused, false, FocusedHovered, S::HighLightSelect, 0},
      {Move, Focused, true, Focused, kNoDraw, 0},              {Move, FocusedHovered, false, FocusedHovered, kNoDraw, 0},
      {Move, Idle, true, Hovered, S::HighLight, 0},
      {LeftUp, NotStarted, false, NotStarted, kNoDraw, 1},     {LeftUp, Idle, false, Idle, kNoDraw, 1},
      {LeftUp, Hovered, true, Hovered, S::Normal, 1},          {LeftUp, Focused, true, Focused, kNoDraw, 0},
      {LeftUp, FocusedHovered, true, FocusedHovered, S::HighLightSelect, 1},
      {RightUp, NotStarted, false, NotStarted, kNoDraw, 1},    {RightUp, Idle, false, Idle, kNoDraw, 1},
      {RightUp, Hovered, false, Hovered, kNoDraw, 1},          {RightUp, Focused, false, Focused, kNoDraw, 0},
      {RightUp, FocusedHovered, false, FocusedHovered, kNoDraw, 1},
      {MiddleUp, Hovered, false, Hovered, kNoDraw, 1},         {MiddleUp, Focused, false, Focused, kNoDraw, 0},
      {PollOutside, Idle, false, Idle, kNoDraw, 0},            {PollOutside, Hovered, false, Idle, S::Normal, 0},
      {PollOutside, Focused, false, Focused, kNoDraw, 0},
      {PollOutside, FocusedHovered, false, Focused, S::Selected, 0},
      {PollOutside, FocusedHovered, true, Focused, S::Selected, 0},
      {PollOver, Hovered, false, Hovered, kNoDraw, 0},         {PollOver, FocusedHovered, false, FocusedHovered, kNoDraw, 0},
  };
  for (const Row& r : rows) {
    Fixture f(r.from != NotStarted);
    f.Reach(r.from, r.pressed);
    ASSERT_EQ(f.button.state(), r.from);
    const auto lookBefore = f.Look();
    Fire(f, r.trigger);
    const std::string where = "trigger " + std::to_string(int(r.trigger)) + " from state " +
                              std::to_string(int(r.from)) + (r.pressed ? " pressed" : "");
    EXPECT_EQ(f.button.state(), r.to) << where;
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
  f.Reach(ButtonState::Hovered, false);
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
  for (ButtonState from : kStartedStates) {
    for (Trigger t : {FocusGained, FocusLost, LeftDown, RightDown, Move, LeftUp, RightUp, MiddleUp, PollOutside}) {
      Fixture f;
      f.Reach(from, false);
      f.button.SetEnabled(false);
      ASSERT_EQ(f.Look(), Skin::Disable);
      EXPECT_FALSE(f.button.caption().enabled) << "a disabled caption is greyed";
      f.site.refreshes = 0;
      Fire(f, t);
      EXPECT_EQ(f.button.state(), from) << int(t);
      EXPECT_EQ(f.site.clicks, 0) << int(t);
      EXPECT_EQ(f.site.refreshes, 0) << int(t);
      EXPECT_FALSE(f.button.buttonDown());
    }
  }
}

TEST(SkinButtonTransitions, ReEnablingDrawsNormalWhateverTheState) {
  for (ButtonState from : kStartedStates) {
    Fixture f;
    f.Reach(from, false);
    f.button.SetEnabled(false);
    f.button.SetEnabled(true);
    EXPECT_EQ(f.Look(), Skin::Normal);
    EXPECT_TRUE(f.button.caption().enabled);
    EXPECT_EQ(f.button.state(), from);
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
    EXPECT_EQ(f.button.state(), ButtonState::Focused);
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
  EXPECT_EQ(f.button.state(), ButtonState::Idle);
}

TEST(SkinButtonPoll, UnreadablePointerKeepsTheLook) {
  Fixture f;
  f.Reach(ButtonState::Hovered, false);
  f.site.cursor.reset();
  f.site.pointerOverButton = false;
  f.button.PollTick();
  EXPECT_EQ(f.button.state(), ButtonState::Hovered);
}

TEST(SkinButtonLifecycle, BeforeInitialize) {
  Fixture f(false);
  EXPECT_FALSE(f.button.pollActive());
  f.site.pointerOverButton = true;
  f.button.MouseMove();
  EXPECT_EQ(f.button.state(), ButtonState::NotStarted);
  EXPECT_EQ(f.Look(), Skin::Normal);
  f.button.GotFocus();
  EXPECT_EQ(f.Look(), Skin::Selected);
  f.button.LostFocus();
  EXPECT_EQ(f.button.state(), ButtonState::Idle);
  f.button.MouseMove();
  EXPECT_EQ(f.Look(), Skin::HighLight);
  // Without the poll the hover look outlives the pointer.
  f.site.pointerOverButton = false;
  f.button.PollTick();
  EXPECT_EQ(f.Look(), Skin::HighLight);
  // Initialize makes the button Idle without drawing, so the stale look waits for the next move.
  f.button.Initialize();
  EXPECT_TRUE(f.button.pollActive());
  f.button.PollTick();
  EXPECT_EQ(f.button.state(), ButtonState::Idle);
  EXPECT_EQ(f.Look(), Skin::HighLight);
}

TEST(SkinButtonProperties, ReadsDrawNothingAndCaptionSettersOnlyRefresh) {
  struct Change {
    const char* name;
    void (*set)(SkinButton&);
    bool (*took)(const SkinButton&);
  };
  const Change changes[] = {
      {"caption", [](SkinButton& b) { b.SetCaption(L"ｷｬﾝｾﾙ"); }, [](const SkinButton& b) { return b.Caption() == L"ｷｬﾝｾﾙ"; }},
      {"font", [](SkinButton& b) { b.SetFont(FontSpec{.face = L"IPAPGothic"}); },
       [](const SkinButton& b) { return b.caption().font.face == L"IPAPGothic"; }},
      {"colour", [](SkinButton& b) { b.SetFontColour(0x123456); },
       [](const SkinButton& b) { return b.FontColour() == 0x123456u && b.caption().colour == 0x123456u; }},
      {"background", [](SkinButton& b) { b.SetVisible(false); }, [](const SkinButton& b) { return !b.Visible(); }},
  };
  for (ButtonState from : kStartedStates) {
    for (const Change& c : changes) {
      Fixture f;
      f.Reach(from, false);
      const auto look = f.Look();
      const SkinButton& shown = f.button;
      EXPECT_TRUE(shown.Enabled() && shown.Visible() && shown.FontColour() == 0 && shown.Caption() == L"設定");
      EXPECT_EQ(f.site.refreshes, 0) << "reading draws nothing";
      c.set(f.button);
      EXPECT_TRUE(c.took(f.button)) << c.name;
      EXPECT_EQ(f.site.refreshes, 1) << c.name << ": shown again once";
      EXPECT_EQ(f.Look(), look) << c.name << ": the skin is not redrawn";
      EXPECT_EQ(f.button.state(), from) << c.name;
    }
  }
}

TEST(SkinButtonSetup, ADisabledStartShowsDisableAndIgnoresTheMouse) {
  FakeSite site;
  SkinButton button(site, FlatSkins(), {.caption = L"無効", .font = FontSpec{.face = L"IPAPGothic"}, .enabled = false});
  EXPECT_EQ(site.refreshes, 0) << "nothing is drawn before the button has a size";
  button.Resize(81, 25);
  button.Initialize();
  EXPECT_EQ(fakes::LookOf(button), Skin::Disable);
  EXPECT_EQ(button.caption().text, L"無効");
  EXPECT_EQ(button.caption().font.face, L"IPAPGothic");
  EXPECT_FALSE(button.caption().enabled);
  button.MouseMove();
  button.MouseUp(MouseButton::Right);
  EXPECT_EQ(site.clicks, 0);
  button.SetEnabled(true);
  EXPECT_EQ(fakes::LookOf(button), Skin::Normal);
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
