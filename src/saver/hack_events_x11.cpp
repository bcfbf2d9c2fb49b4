// The X11 program's events, one case each: decode, call the window or the scenes, paint.
#include "saver/hack_events_x11.h"

#include <X11/extensions/Xrandr.h>

namespace kovaren::x11 {

HackEvents::HackEvents(Display* display, int screen, const HackWindow& window, saver::HackTarget target)
    : display_(display), screen_(screen) {
  if (target != saver::HackTarget::FullScreen && target != saver::HackTarget::RootWindow) return;
  int error = 0;
  if (XRRQueryExtension(display_, &randrEvents_, &error)) {
    XRRSelectInput(display_, RootWindow(display_, screen_), RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask);
  } else {
    randrEvents_ = -1;
  }
  if (window.own()) XSelectInput(display_, RootWindow(display_, screen_), StructureNotifyMask);
}

bool HackEvents::IsScreenChange(const XEvent& event) const {
  return randrEvents_ >= 0 &&
         (event.type == randrEvents_ + RRScreenChangeNotify || event.type == randrEvents_ + RRNotify);
}

std::optional<saver::HackEvent> HackEvents::Handle(const XEvent& event, HackWindow& window, HackScenes& scenes) const {
  using saver::HackEvent;
  const Window root = RootWindow(display_, screen_);
  if (IsScreenChange(event)) {
    XRRUpdateConfiguration(const_cast<XEvent*>(&event));
    window.Fit({0, 0, DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)});
    scenes.Replan();
    return std::nullopt;
  }
  switch (event.type) {
    case KeyPress:
      return HackEvent::KeyDown;
    case ButtonPress:
      return HackEvent::ButtonDown;
    case Expose:
      if (event.xexpose.count == 0) scenes.PaintAll();
      return std::nullopt;
    case MapNotify:
      if (event.xmap.window == window.id()) window.Focus();
      return std::nullopt;
    case ConfigureNotify:
      if (event.xconfigure.window == root && window.own()) {
        XRRUpdateConfiguration(const_cast<XEvent*>(&event));
        window.Fit({0, 0, event.xconfigure.width, event.xconfigure.height});
        scenes.Replan();
      } else if (event.xconfigure.window == window.id() && !window.own()) {
        window.Fit({window.area().x, window.area().y, event.xconfigure.width, event.xconfigure.height});
        scenes.Replan();
      }
      return std::nullopt;
    case DestroyNotify:
      if (event.xdestroywindow.window == window.id()) return HackEvent::WindowGone;
      return std::nullopt;
    case ClientMessage:
      if (window.AsksToClose(event.xclient)) return HackEvent::CloseAsked;
      return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace kovaren::x11
