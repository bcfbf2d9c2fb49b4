// Folder src/skin_button owns the skinned push button: its behaviour (this file), how it looks
// (button_skin.h), its Win32 window (button_win32.cpp, window class "Tesmar.Command") and an adapter
// for hosts that keep it in a property store (button_properties.h).
//
// The skinned push button's behaviour: interaction state, the hover poll, its caption, colour,
// background and enabled flag, and the Click event. The platform (pointer, window under it, repaint)
// is reached through SkinButtonSite, so every rule runs in unit tests.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "skin_button/button_skin.h"
#include "gfx/pixel_buffer.h"
#include "gfx/screen_geometry.h"

namespace kovaren::skin_button {

// Where the pointer and the focus are; what each transition draws on entering a state is in button.cpp.
enum class ButtonState : uint8_t {
  NotStarted,     // before Initialize: moves do not hover
  Idle,           // no focus, pointer elsewhere
  Hovered,        // no focus, pointer over the button
  Focused,        // focus, pointer elsewhere
  FocusedHovered  // focus, pointer over the button
};

enum class MouseButton : uint8_t { Left, Right, Middle };

// Colours are 0x00BBGGRR, the form GDI takes; a set top bit names a system colour.
using ColourRef = uint32_t;

// A caption font: face, size in hundredths of a point, weight, style and character set.
struct FontSpec {
  std::wstring face;
  int sizeHundredthsPt = 975;
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  int charset = 128;  // SHIFTJIS_CHARSET
  bool operator==(const FontSpec&) const = default;
};

// "ＭＳ Ｐゴシック" at 9 pt, which the platform stores as 9.75 pt; regular weight; Shift-JIS.
FontSpec DesignFont();

// What a button starts with; everything else starts plain (black caption, opaque background).
struct ButtonSetup {
  std::wstring caption = L"Command";
  FontSpec font = DesignFont();
  bool enabled = true;
};

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
  virtual void Click() = 0;

 protected:
  ~SkinButtonSite() = default;
};

class SkinButton {
 public:
  // Draws nothing until it is given a size.
  SkinButton(SkinButtonSite& site, SkinSet skins, ButtonSetup setup = {});

  // --- the host's calls -------------------------------------------------------------------
  // Hover-ready (Idle) and the hover poll on; draws nothing.
  void Initialize();
  // The button's new size in pixels; redraws Normal or Disable.
  void Resize(int width, int height);

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(std::wstring text);
  const FontSpec& Font() const { return font_; }
  void SetFont(FontSpec font);
  ColourRef FontColour() const { return captionColour_; }
  void SetFontColour(ColourRef colour);
  bool Enabled() const { return enabled_; }
  // Draws Disable, or Normal whatever the state: the look follows the state again at the next transition.
  void SetEnabled(bool enabled);
  // Whether the surface is shown (opaque background) or the host shows through it.
  bool Visible() const { return opaque_; }
  void SetVisible(bool visible);
  // On an enabled button: caption shown enabled and Normal drawn, the state kept; a disabled one is left.
  void ResetLook();

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

  // --- what is shown ------------------------------------------------------------------------
  const PixelBuffer& surface() const { return surface_; }
  CaptionLook caption() const;
  // The picture of the last redraw; nothing before the first.
  std::optional<Skin> drawnSkin() const { return drawn_; }

  ButtonState state() const { return state_; }
  bool buttonDown() const { return buttonDown_; }
  bool hoverGradient() const { return hoverGradient_; }
  bool pollActive() const { return pollActive_; }

 private:
  void DrawSkin(Skin skin);
  void LeaveHover();
  void ApplyEnabled();

  SkinButtonSite& site_;
  SkinSet skins_;

  ButtonState state_ = ButtonState::NotStarted;
  bool buttonDown_ = false;
  bool enabled_;
  bool hoverGradient_ = false;
  bool pollActive_ = false;

  std::wstring caption_;
  FontSpec font_;
  ColourRef captionColour_ = 0;
  bool captionEnabled_ = true;
  bool opaque_ = true;
  Rect captionBox_{0, 6, 109, 13};  // the label's starting place, until the first redraw

  PixelBuffer surface_;
  std::optional<Skin> drawn_;
};

}  // namespace kovaren::skin_button
