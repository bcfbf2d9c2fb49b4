#include "settings_dialog/dialog_layout.h"

namespace kovaren::dialog {
namespace {

bool Contains(const Rect& r, int x, int y) { return x >= r.x && x < r.right() && y >= r.y && y < r.bottom(); }

}  // namespace

Hit HitTest(int x, int y) {
  for (int kind = 0; kind < bgm::kKindCount; ++kind) {
    if (Contains(InClient(kOptionMark[kind]), x, y) || Contains(InClient(kOptionCaption[kind]), x, y))
      return {ClickTarget::Option, kind};
  }
  if (Contains(kUrl, x, y)) return {ClickTarget::WebAddress};
  return {};
}

Placement PlaceDialog(int screenWidth, int screenHeight, int windowWidth, int windowHeight) {
  // Integer division truncates toward zero, also for a window larger than the screen.
  return {(screenWidth - windowWidth) / 2, (screenHeight - windowHeight) / 3};
}

}  // namespace kovaren::dialog
