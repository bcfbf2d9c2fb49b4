// What the skinned button's tests share: flat skins whose look reads off the surface, a site that
// counts what the button asks of the platform, and a way to bring a button into a given state.
#pragma once
#include <array>
#include <optional>

#include "skin_button/button.h"

namespace kovaren::skin_button::fakes {

// Each look a flat, distinct colour, so the drawn picture can be read off the surface.
inline Pixel LookColour(Skin s) { return 0x100000u * (static_cast<unsigned>(s) + 1) + 0x42; }

inline SkinSet FlatSkins() {
  std::array<PixelBuffer, kSkinCount> pictures;
  for (int i = 0; i < kSkinCount; ++i) pictures[i] = PixelBuffer(kSkinWidth, kSkinHeight, LookColour(Skin(i)));
  return SkinSet(std::move(pictures));
}

inline std::optional<Skin> LookOf(const SkinButton& button) {
  for (int i = 0; i < kSkinCount; ++i) {
    if (button.surface().at(0, 0) == LookColour(Skin(i))) return Skin(i);
  }
  return std::nullopt;
}

class FakeSite final : public SkinButtonSite {
 public:
  std::optional<ScreenPoint> CursorPosition() override { return cursor; }
  bool IsOwnWindowAt(ScreenPoint) override { return pointerOverButton; }
  void Refresh() override { ++refreshes; }
  void Click() override { ++clicks; }

  std::optional<ScreenPoint> cursor = ScreenPoint{10, 10};
  bool pointerOverButton = false;
  int refreshes = 0;
  int clicks = 0;
};

// Drives the button into `target` through ordinary events (a NotStarted button must be left
// uninitialised), then forgets what that drew.
inline void Reach(SkinButton& button, FakeSite& site, ButtonState target, bool pressed) {
  const bool hovered = target == ButtonState::Hovered || target == ButtonState::FocusedHovered;
  const bool focused = target == ButtonState::Focused || target == ButtonState::FocusedHovered;
  if (target != ButtonState::NotStarted) {
    if (hovered) button.MouseMove();
    if (focused) button.GotFocus();
    if (target == ButtonState::FocusedHovered && button.state() != target) button.MouseMove();
  }
  if (pressed) button.MouseDown(MouseButton::Left);
  site.pointerOverButton = hovered;
  site.refreshes = 0;
  site.clicks = 0;
}

}  // namespace kovaren::skin_button::fakes
