#include "skin_button/button.h"

#include <utility>

namespace kovaren::skin_button {
namespace {

constexpr ColourRef kBlack = 0;

// Stored keys and their defaults. The caption's write default ("Command", the name the button is made with) differs
// from its read default ("Command1", what a freshly placed instance is called), so a caption of
// exactly "Command" is not stored and comes back as "Command1".
constexpr std::string_view kKeyEnabled = "Enabled";
constexpr std::string_view kKeyCaption = "Caption";
constexpr std::string_view kKeyFont = "Font";
constexpr std::string_view kKeyFirstRun = "FirstRun";
constexpr std::string_view kKeyFontColour = "FontColour";
constexpr std::string_view kKeyVisible = "Visible";
const wchar_t* const kCaptionReadDefault = L"Command1";
const wchar_t* const kCaptionWriteDefault = L"Command";
const wchar_t* const kOneText = L"1";
const wchar_t* const kZeroText = L"0";

}  // namespace

SkinButton::SkinButton(SkinButtonSite& site, SkinSet skins, FontSpec ambientFont)
    : site_(site), skins_(std::move(skins)), ambientFont_(std::move(ambientFont)) {}

void SkinButton::Initialize() {
  state_ = state::kIdle;
  pollActive_ = true;
}

void SkinButton::ReadProperties(const PropertyStore& store) {
  // Each value that cannot be converted is skipped; the field keeps what it had.
  if (auto v = ToBoolean(store.Read(kKeyEnabled, true))) enabled_ = *v;
  if (auto v = ToText(store.Read(kKeyCaption, std::wstring(kCaptionReadDefault)))) caption_ = std::move(*v);
  // Only the stored face name is taken; size, weight, style and character set stay the caption's.
  const PropertyValue storedFont = store.Read(kKeyFont, ambientFont_);
  if (const auto* f = std::get_if<FontSpec>(&storedFont)) font_.face = f->face;
  if (auto v = ToInteger(store.Read(kKeyFirstRun, std::wstring(kOneText)), 0, UINT8_MAX)) {
    firstRun_ = static_cast<uint8_t>(*v);
  }
  if (auto v = ToInteger(store.Read(kKeyFontColour, std::wstring(kZeroText)), INT32_MIN, UINT32_MAX)) {
    captionColour_ = static_cast<ColourRef>(*v);
  }
  if (auto v = ToInteger(store.Read(kKeyVisible, std::wstring(kOneText)), INT16_MIN, INT16_MAX)) opaque_ = *v != 0;
  ResetLook();
}

void SkinButton::WriteProperties(PropertyStore& store) {
  store.Write(kKeyEnabled, enabled_, true);
  store.Write(kKeyCaption, caption_, std::wstring(kCaptionWriteDefault));
  store.Write(kKeyFirstRun, int64_t{firstRun_}, std::wstring(kOneText));
  store.Write(kKeyFont, font_, ambientFont_);
  store.Write(kKeyFontColour, int64_t{static_cast<int32_t>(captionColour_)}, std::wstring(kZeroText));
  store.Write(kKeyVisible, int64_t{opaque_ ? 1 : 0}, std::wstring(kOneText));
  ResetLook();
}

void SkinButton::Resize(int width, int height) {
  surface_ = PixelBuffer(width < 0 ? 0 : width, height < 0 ? 0 : height);
  ApplyEnabled();
}

void SkinButton::SetCaption(std::wstring text) {
  caption_ = std::move(text);
  site_.PropertyChanged(kKeyCaption);
  site_.Refresh();  // the skin is not redrawn, but the label shows its new text
}

void SkinButton::SetFont(FontSpec font) {
  font_ = std::move(font);
  site_.PropertyChanged(kKeyFont);
  site_.Refresh();
}

ColourRef SkinButton::FontColour() {
  const ColourRef colour = captionColour_;
  ResetLook();
  return colour;
}

void SkinButton::SetFontColour(ColourRef colour) {
  captionColour_ = colour;
  ResetLook();
  site_.PropertyChanged(kKeyFontColour);
}

bool SkinButton::Enabled() {
  if (firstRun_ == 0) {
    // Stands in for first-time creation: the first read switches a fresh instance on.
    ResetLook();
    firstRun_ = 1;
    enabled_ = true;
  }
  const bool result = enabled_;
  ApplyEnabled();
  return result;
}

void SkinButton::SetEnabled(bool enabled) {
  enabled_ = enabled;
  site_.PropertyChanged(kKeyEnabled);
  ApplyEnabled();
}

uint8_t SkinButton::Visible() {
  if (!opaque_) return 0;
  ResetLook();
  return UINT8_MAX;
}

void SkinButton::SetVisible(uint8_t value) {
  if (value != 0) {
    opaque_ = true;
    ResetLook();
  } else {
    opaque_ = false;
  }
  site_.Refresh();
  site_.PropertyChanged(kKeyVisible);
}

void SkinButton::GotFocus() {
  if (!enabled_) return;
  if (state_ == state::kHover) {
    // Focus taken by a click on a hovered button: it looks pressed until the release.
    state_ = state::kFocusedHover;
    DrawSkin(Skin::Pressed);
  } else {
    state_ = state::kFocused;
    DrawSkin(Skin::Selected);
  }
}

void SkinButton::LostFocus() {
  if (!enabled_ || state_ == state::kIdle) return;
  state_ = state::kIdle;
  DrawSkin(Skin::Normal);
}

void SkinButton::MouseDown(MouseButton button) {
  if (!enabled_ || button != MouseButton::Left) return;
  buttonDown_ = true;
  DrawSkin(Skin::Pressed);
}

void SkinButton::MouseMove() {
  if (!enabled_) return;
  if (state_ == state::kIdle) {
    state_ = state::kHover;
    DrawSkin(Skin::HighLight);
  } else if (state_ == state::kFocused && !buttonDown_) {
    // A press dragged off and back (button still held) stays Selected: that release is no Click.
    state_ = state::kFocusedHover;
    DrawSkin(Skin::HighLightSelect);
  }
}

void SkinButton::MouseUp(MouseButton button) {
  if (!enabled_) return;
  if (button == MouseButton::Left) {
    buttonDown_ = false;
    if (state_ == state::kHover) DrawSkin(Skin::Normal);
    else if (state_ == state::kFocusedHover) DrawSkin(Skin::HighLightSelect);
  }
  // Focused without hover is a release away from the button: the poll saw the pointer leave during
  // the press, so it is no click.
  if (state_ != state::kFocused && enabled_) site_.Click();
}

void SkinButton::CancelPress() {
  if (!enabled_ || !buttonDown_) return;
  buttonDown_ = false;
  if (state_ == state::kHover) DrawSkin(Skin::Normal);
  else if (state_ == state::kFocusedHover) DrawSkin(Skin::HighLightSelect);
}

void SkinButton::PollTick() {
  if (!pollActive_) return;
  const auto pointer = site_.CursorPosition();
  if (!pointer) return;  // nothing known about the pointer: keep the look
  if (!site_.IsOwnWindowAt(*pointer)) LeaveHover();
}

void SkinButton::LeaveHover() {
  if (!enabled_) return;
  if (state_ == state::kHover) {
    state_ = state::kIdle;
    DrawSkin(Skin::Normal);
  }
  if (state_ == state::kFocusedHover) {
    state_ = state::kFocused;
    DrawSkin(Skin::Selected);
  }
}

void SkinButton::ApplyEnabled() {
  captionEnabled_ = enabled_;
  DrawSkin(enabled_ ? Skin::Normal : Skin::Disable);
}

void SkinButton::ResetLook() {
  if (!enabled_) return;
  captionEnabled_ = true;
  if (firstRun_ == 0) captionColour_ = kBlack;
  DrawSkin(Skin::Normal);
}

void SkinButton::DrawSkin(Skin skin) {
  // Hovered unfocused: shaded top; idle or focused: light top; states 0 and 4 keep the last one,
  // so HighLightSelect after HighLight is shaded and after Selected is light.
  if (state_ == state::kIdle || state_ == state::kFocused) hoverGradient_ = false;
  else if (state_ == state::kHover) hoverGradient_ = true;
  DrawButtonFace(surface_, skins_[skin], hoverGradient_);
  captionBox_ = CaptionBox(surface_.width(), surface_.height());
  drawn_ = skin;
  site_.Refresh();
}

CaptionLook SkinButton::caption() const {
  return CaptionLook{caption_, font_, captionColour_, captionEnabled_, captionBox_};
}

}  // namespace kovaren::skin_button
