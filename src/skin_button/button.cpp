#include "skin_button/button.h"

#include <utility>

namespace kovaren::skin_button {

FontSpec DesignFont() {
  return FontSpec{L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF", 975, 400, false, false, false, 128};
}

SkinButton::SkinButton(SkinButtonSite& site, SkinSet skins, ButtonSetup setup)
    : site_(site),
      skins_(std::move(skins)),
      enabled_(setup.enabled),
      caption_(std::move(setup.caption)),
      font_(std::move(setup.font)) {}

void SkinButton::Initialize() {
  state_ = ButtonState::Idle;
  pollActive_ = true;
}

void SkinButton::Resize(int width, int height) {
  surface_ = PixelBuffer(width < 0 ? 0 : width, height < 0 ? 0 : height);
  ApplyEnabled();
}

void SkinButton::SetCaption(std::wstring text) {
  caption_ = std::move(text);
  site_.Refresh();  // the skin is not redrawn, but the label shows its new text
}

void SkinButton::SetFont(FontSpec font) {
  font_ = std::move(font);
  site_.Refresh();
}

void SkinButton::SetFontColour(ColourRef colour) {
  captionColour_ = colour;
  site_.Refresh();
}

void SkinButton::SetEnabled(bool enabled) {
  enabled_ = enabled;
  ApplyEnabled();
}

void SkinButton::SetVisible(bool visible) {
  opaque_ = visible;
  site_.Refresh();
}

void SkinButton::ResetLook() {
  if (enabled_) ApplyEnabled();
}

void SkinButton::GotFocus() {
  if (!enabled_) return;
  if (state_ == ButtonState::Hovered) {
    // Focus taken by a click on a hovered button: it looks pressed until the release.
    state_ = ButtonState::FocusedHovered;
    DrawSkin(Skin::Pressed);
  } else {
    state_ = ButtonState::Focused;
    DrawSkin(Skin::Selected);
  }
}

void SkinButton::LostFocus() {
  if (!enabled_ || state_ == ButtonState::Idle) return;
  state_ = ButtonState::Idle;
  DrawSkin(Skin::Normal);
}

void SkinButton::MouseDown(MouseButton button) {
  if (!enabled_ || button != MouseButton::Left) return;
  buttonDown_ = true;
  DrawSkin(Skin::Pressed);
}

void SkinButton::MouseMove() {
  if (!enabled_) return;
  if (state_ == ButtonState::Idle) {
    state_ = ButtonState::Hovered;
    DrawSkin(Skin::HighLight);
  } else if (state_ == ButtonState::Focused && !buttonDown_) {
    // A press dragged off and back (button still held) stays Selected: that release is no Click.
    state_ = ButtonState::FocusedHovered;
    DrawSkin(Skin::HighLightSelect);
  }
}

void SkinButton::MouseUp(MouseButton button) {
  if (!enabled_) return;
  if (button == MouseButton::Left) {
    buttonDown_ = false;
    if (state_ == ButtonState::Hovered) DrawSkin(Skin::Normal);
    else if (state_ == ButtonState::FocusedHovered) DrawSkin(Skin::HighLightSelect);
  }
  // Focused without hover is a release away from the button: the poll saw the pointer leave during
  // the press, so it is no click.
  if (state_ != ButtonState::Focused) site_.Click();
}

void SkinButton::CancelPress() {
  if (!enabled_ || !buttonDown_) return;
  buttonDown_ = false;
  if (state_ == ButtonState::Hovered) DrawSkin(Skin::Normal);
  else if (state_ == ButtonState::FocusedHovered) DrawSkin(Skin::HighLightSelect);
}

void SkinButton::PollTick() {
  if (!pollActive_) return;
  const auto pointer = site_.CursorPosition();
  if (!pointer) return;  // nothing known about the pointer: keep the look
  if (!site_.IsOwnWindowAt(*pointer)) LeaveHover();
}

void SkinButton::LeaveHover() {
  if (!enabled_) return;
  if (state_ == ButtonState::Hovered) {
    state_ = ButtonState::Idle;
    DrawSkin(Skin::Normal);
  } else if (state_ == ButtonState::FocusedHovered) {
    state_ = ButtonState::Focused;
    DrawSkin(Skin::Selected);
  }
}

void SkinButton::ApplyEnabled() {
  captionEnabled_ = enabled_;
  DrawSkin(enabled_ ? Skin::Normal : Skin::Disable);
}

void SkinButton::DrawSkin(Skin skin) {
  // Hovered unfocused: shaded top; idle or focused: light top. NotStarted and FocusedHovered keep the
  // last one, so HighLightSelect after HighLight is shaded and after Selected is light.
  if (state_ == ButtonState::Idle || state_ == ButtonState::Focused) hoverGradient_ = false;
  else if (state_ == ButtonState::Hovered) hoverGradient_ = true;
  DrawButtonFace(surface_, skins_[skin], hoverGradient_);
  captionBox_ = CaptionBox(surface_.width(), surface_.height());
  drawn_ = skin;
  site_.Refresh();
}

CaptionLook SkinButton::caption() const {
  return CaptionLook{caption_, font_, captionColour_, captionEnabled_, captionBox_};
}

}  // namespace kovaren::skin_button
