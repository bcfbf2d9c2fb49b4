// Where everything of the settings dialog stands: client-area pixels at 96 dpi. Rows inside the
// settings panel are given relative to the panel and turned into client positions with InClient.
#pragma once
#include "gfx/pixel_buffer.h"
#include "settings_file/settings.h"

namespace kovaren::dialog {

inline constexpr int kClientWidth = 460;
inline constexpr int kClientHeight = 214;

// The settings panel and the brushed-metal strip it is tiled with.
inline constexpr Rect kPanel{16, 16, 429, 125};
inline constexpr int kStripWidth = 556;
inline constexpr int kStripHeight = 20;
// The option marks' pictures, and the image controls that show them (one pixel larger).
inline constexpr int kMarkSize = 12;

// Panel-relative rectangle -> client rectangle.
constexpr Rect InClient(const Rect& panelRect) {
  return {panelRect.x + kPanel.x, panelRect.y + kPanel.y, panelRect.w, panelRect.h};
}

// Inside the panel.
inline constexpr Rect kMusicFrame{8, 8, 101, 21};
inline constexpr Rect kMusicHeading{8, 12, 101, 17};
inline constexpr Rect kCountFrame{280, 8, 101, 21};
inline constexpr Rect kCountHeading{280, 12, 100, 13};
// Option marks and captions, indexed by music kind (0 none, 1 audio CD, 2 file); on screen the
// order is 1, 0, 2 from the top.
inline constexpr Rect kOptionMark[bgm::kKindCount] = {{36, 60, 13, 13}, {36, 40, 13, 13}, {36, 80, 13, 13}};
inline constexpr Rect kOptionCaption[bgm::kKindCount] = {{52, 60, 23, 13}, {52, 40, 43, 13}, {52, 80, 60, 13}};
inline constexpr Rect kRepeatCombo{120, 36, 41, 20};
inline constexpr Rect kRepeatCaption{164, 40, 66, 13};
inline constexpr Rect kFileButton{120, 80, 29, 21};
inline constexpr Rect kFileName{152, 80, 265, 33};
inline constexpr Rect kCountScroll{280, 36, 77, 17};
inline constexpr Rect kCountLabel{364, 40, 28, 13};

// In the client area.
inline constexpr Rect kCredit{16, 152, 165, 13};
inline constexpr Rect kUrl{16, 168, 219, 13};
inline constexpr Rect kSaveButton{272, 160, 81, 25};
inline constexpr Rect kCancelButton{356, 160, 81, 25};

// What a click at a client point lands on, for the parts of the dialog that are drawn rather than
// being windows of their own.
enum class ClickTarget { Nothing, Option, WebAddress };
struct Hit {
  ClickTarget target = ClickTarget::Nothing;
  int option = -1;  // the music kind, for ClickTarget::Option
  bool operator==(const Hit&) const = default;
};
Hit HitTest(int x, int y);

// The dialog's top-left corner on the screen: centred across, one third of the free height down.
struct Placement {
  int left = 0;
  int top = 0;
  bool operator==(const Placement&) const = default;
};
Placement PlaceDialog(int screenWidth, int screenHeight, int windowWidth, int windowHeight);

}  // namespace kovaren::dialog
