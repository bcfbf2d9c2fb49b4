// What the preview decides before it touches a window: whether to run at all, how large the preview
// is, and which parts of it show the picture and which stay black. Portable; the Win32 shell in
// preview_win32.cpp asks these questions and carries out the answers.
#pragma once
#include <cstdint>
#include <optional>

#include "gfx/pixel_buffer.h"
#include "gfx/screen_geometry.h"
#include "preview/host_window.h"

namespace kovaren::preview {

// The still miniature is made for the standard preview area of the system's settings page.
constexpr int kPictureWidth = 152;
constexpr int kPictureHeight = 112;

struct Size {
  int w = 0, h = 0;
  bool operator==(const Size&) const = default;
};

// The preview's outer size: the host's full extent in pixels. Reversed edges give 0, never a negative size.
Size PreviewSize(const ScreenRect& host);

// Whether to run and at what size. `host` is the window from the command line; `hostRect` is the
// host's rectangle, empty when the handle names no window. Nothing comes back when the preview must end
// at once instead of showing a window that belongs to nobody.
std::optional<Size> PlanPreview(HostWindow host, const std::optional<ScreenRect>& hostRect);

// How one paint of the preview covers its client area: the part of the picture that fits, drawn at
// the same place (top-left aligned, unscaled), and black to the right of it and below it. The three
// rectangles never overlap and together cover exactly the window.
struct PaintPlan {
  Rect picture;     // in picture and window coordinates alike
  Rect blackRight;  // right of the picture, the full window height
  Rect blackBelow;  // below the picture, as wide as the picture part
};
PaintPlan PlanPaint(Size window, Size picture);

}  // namespace kovaren::preview
