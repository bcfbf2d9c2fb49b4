#include "saver/desktop_image_x11.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include "platform/x_errors_x11.h"
#include "platform/ximage_pixels_x11.h"
#include "saver/hack_backdrop.h"

namespace kovaren::x11 {
namespace {

// `area` of `drawable` (its own coordinates) placed at `at` in `into`; nothing when it cannot be read.
// A pixmap has no visual, so X hands its image over without colour masks: `visual` (the one the
// pixmap was made for) supplies them, or every pixel would read as black.
bool ReadInto(Display* display, Drawable drawable, const Visual* visual, const Rect& area, PixelBuffer& into, int atX,
              int atY) {
  if (area.empty()) return true;
  ErrorTrap trap(display);
  XImage* image = XGetImage(display, drawable, area.x, area.y, static_cast<unsigned>(area.w),
                            static_cast<unsigned>(area.h), AllPlanes, ZPixmap);
  const bool failed = trap.Failed() || !image;
  if (image) {
    if (visual && image->red_mask == 0 && image->green_mask == 0 && image->blue_mask == 0) {
      image->red_mask = visual->red_mask;
      image->green_mask = visual->green_mask;
      image->blue_mask = visual->blue_mask;
    }
    if (!failed) Blit(into, atX, atY, PixelsOf(image), RasterOp::Copy);
    XDestroyImage(image);
  }
  return !failed;
}

}  // namespace

std::optional<PixelBuffer> ReadDaemonScreenshot(Display* display, Window window, const Visual* visual, int width,
                                                int height) {
  const Atom property = XInternAtom(display, "_SCREENSAVER_SCREENSHOT", False);
  Atom type = None;
  int format = 0;
  unsigned long items = 0, left = 0;
  unsigned char* data = nullptr;
  ErrorTrap trap(display);
  const int status = XGetWindowProperty(display, window, property, 0, 1, False, XA_PIXMAP, &type, &format, &items,
                                        &left, &data);
  if (trap.Failed() || status != Success || type != XA_PIXMAP || format != 32 || items < 1 || !data) {
    if (data) XFree(data);
    return std::nullopt;
  }
  const Pixmap pixmap = static_cast<Pixmap>(*reinterpret_cast<unsigned long*>(data));
  XFree(data);

  Window root = None;
  int x = 0, y = 0;
  unsigned w = 0, h = 0, border = 0, depth = 0;
  if (!XGetGeometry(display, pixmap, &root, &x, &y, &w, &h, &border, &depth)) return std::nullopt;
  PixelBuffer picture(width, height, saver::kDarkBackdrop);
  const Rect part = Intersect({0, 0, static_cast<int>(w), static_cast<int>(h)}, picture.bounds());
  if (!ReadInto(display, pixmap, visual, part, picture, 0, 0)) return std::nullopt;
  return picture;
}

PixelBuffer ReadScreen(Display* display, int screen, const Rect& area) {
  PixelBuffer picture(area.w, area.h, saver::kDarkBackdrop);
  const Rect whole{0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
  const Rect part = Intersect(area, whole);
  // Through the root with its children included: what the screen shows, windows and all.
  ReadInto(display, RootWindow(display, screen), DefaultVisual(display, screen), part, picture, part.x - area.x,
           part.y - area.y);
  return picture;
}

}  // namespace kovaren::x11
