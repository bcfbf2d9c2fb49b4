// Folder src/skin_button owns the skinned push button: its behaviour (this file), its stored
// properties (button_properties.h), how it looks (button_skin.h) and its Win32 window
// (button_win32.cpp, window class "Tesmar.Command").
//
// The skinned push button's behaviour: interaction state, the hover poll, the properties with their
// read-side redraws, persistence and the Click event. The platform (pointer, window under it,
// repaint, the host's notices) is reached through SkinButtonSite, so every rule runs in unit tests.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "skin_button/button_properties.h"
#include "skin_button/button_skin.h"
#include "gfx/pixel_buffer.h"
#include "gfx/screen_geometry.h"

namespace kovaren::skin_button {

// Interaction states; what each transition draws on entering it is in button.cpp.
namespace state {
inline constexpr uint8_t kUninitialised = 0;
inline constexpr uint8_t kIdle = 1;          // no focus, pointer elsewhere
inline constexpr uint8_t kHover = 2;         // no focus, pointer over the button
inline constexpr uint8_t kFocused = 3;       // focus, pointer elsewhere
inline constexpr uint8_t kFocusedHover = 4;  // focus, pointer over the button
}  // namespace state

enum class MouseButton : uint8_t { Left, Right, Middle };

// Colours are 0x00BBGGRR, the form the host stores and GDI takes.
using ColourRef = uint32_t;

// What the platform needs to draw the caption over the surface.
struct CaptionLook {
  std::wstring text;
  FontSpec font;
  ColourRef colour = 0;
  bool enabled = true;  // false: greyed
  Rect box;             // pixels; text centred across, at the top of the box
};

class SkinButtonSite {
 public:
  // The pointer's screen position; nothing when the platform cannot tell.
  virtual std::optional<ScreenPoint> CursorPosition() = 0;
  // Whether the window under `p` is the button's own (its caption has no window of its own).
  virtual bool IsOwnWindowAt(ScreenPoint p) = 0;
  // The surface, caption or background style changed: show them again.
  virtual void Refresh() = 0;
  // A property's value changed (the host's property-changed notice).
  virtual void PropertyChanged(std::string_view name) = 0;
  virtual void Click() = 0;

 protected:
  ~SkinButtonSite() = default;
};

class SkinButton {
 public:
  // A fresh instance as made without stored properties: state 0, disabled until Enabled is read.
  SkinButton(SkinButtonSite& site, SkinSet skins, FontSpec ambientFont = DesignFont());

  // --- the host's calls -------------------------------------------------------------------
  void Initialize();
  void ReadProperties(const PropertyStore& store);
  void WriteProperties(PropertyStore& store);
  // The control's new size in pixels.
  void Resize(int width, int height);

  std::wstring Caption() const { return caption_; }
  void SetCaption(std::wstring text);
  FontSpec Font() const { return font_; }
  void SetFont(FontSpec font);
  // Reading these can redraw Normal or Disable (never changing the interaction state).
  ColourRef FontColour();
  void SetFontColour(ColourRef colour);
  bool Enabled();
  void SetEnabled(bool enabled);
  uint8_t Visible();
  void SetVisible(uint8_t value);

  // --- what the platform reports ------------------------------------------------------------
  void GotFocus();
  void LostFocus();
  void MouseDown(MouseButton button);
  // Only moves over the button (including its caption).
  void MouseMove();
  void MouseUp(MouseButton button);
  // The 100 ms hover poll; does nothing until Initialize.
  void PollTick();
  // The platform took the press away (capture lost, e.g. to another window or a mode change) before
  // the left button came up over the button: the press ends without a Click.
  void CancelPress();

  // --- what is shown (no side effects) ------------------------------------------------------
  const PixelBuffer& surface() const { return surface_; }
  CaptionLook caption() const;
  bool opaque() const { return opaque_; }
  // The picture of the last redraw; nothing before the first.
  std::optional<Skin> drawnSkin() const { return drawn_; }

  uint8_t buttonState() const { return state_; }
  bool buttonDown() const { return buttonDown_; }
  bool enabledFlag() const { return enabled_; }
  uint8_t firstRun() const { return firstRun_; }
  bool hoverGradient() const { return hoverGradient_; }
  bool pollActive() const { return pollActive_; }

 private:
  void DrawSkin(Skin skin);
  void LeaveHover();
  void ApplyEnabled();
  void ResetLook();

  SkinButtonSite& site_;
  SkinSet skins_;
  FontSpec ambientFont_;

  uint8_t state_ = state::kUninitialised;
  bool buttonDown_ = false;
  bool enabled_ = false;
  uint8_t firstRun_ = 0;
  bool hoverGradient_ = false;
  bool pollActive_ = false;

  std::wstring caption_ = L"Command";
  FontSpec font_ = DesignFont();
  ColourRef captionColour_ = 0;
  bool captionEnabled_ = true;
  bool opaque_ = true;
  Rect captionBox_{0, 6, 109, 13};  // the label's starting place, until the first redraw

  PixelBuffer surface_;
  std::optional<Skin> drawn_;
};

}  // namespace kovaren::skin_button
