// The X11 program's window: taking the one handed over (or the root) as it is, or creating our own
// hidden, named, of a fixed size and, full screen, over every monitor without a pointer.
#include "saver/hack_window_x11.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cstdio>

#include "platform/x_errors_x11.h"
#include "saver/monitors_x11.h"
#include "saver/own_window.h"

namespace kovaren::x11 {
namespace {

using saver::kProgramName;
constexpr long kOwnWindowEvents = KeyPressMask | ButtonPressMask | ExposureMask | StructureNotifyMask;
// A window handed over belongs to the daemon, whose grab the keys and clicks are: we only watch it.
constexpr long kHandedWindowEvents = ExposureMask | StructureNotifyMask;

Rect CentredIn(const Rect& outer, int w, int h) { return {outer.x + (outer.w - w) / 2, outer.y + (outer.h - h) / 2, w, h}; }

}  // namespace

std::unique_ptr<HackWindow> HackWindow::Take(Display* display, int screen, const saver::HackOptions& options) {
  using saver::HackTarget;
  std::unique_ptr<HackWindow> window(new HackWindow(display, screen));
  bool taken = false;
  switch (options.target) {
    case HackTarget::OwnWindow:
    case HackTarget::FullScreen:
      taken = window->CreateOwn(options.target == HackTarget::FullScreen);
      break;
    case HackTarget::RootWindow:
      taken = window->TakeHandedOver(RootWindow(display, screen));
      break;
    case HackTarget::HandedWindow:
    case HackTarget::PreviewWindow:
      taken = window->TakeHandedOver(static_cast<Window>(options.windowId));
      break;
  }
  if (!taken) return nullptr;
  return window;
}

// The window, its visual and its place on the screen as its owner made them.
bool HackWindow::TakeHandedOver(Window window) {
  window_ = window;
  XWindowAttributes attributes{};
  ErrorTrap trap(display_);
  const Status got = XGetWindowAttributes(display_, window_, &attributes);
  if (trap.Failed() || !got) {
    std::fprintf(stderr, "%s: there is no window 0x%lx\n", kProgramName, static_cast<unsigned long>(window_));
    return false;
  }
  // Told when it goes away or needs painting again; its keys and clicks stay the daemon's.
  XSelectInput(display_, window_, kHandedWindowEvents);
  visual_ = attributes.visual;
  depth_ = attributes.depth;
  int x = 0, y = 0;
  Window child = None;
  XTranslateCoordinates(display_, window_, RootWindow(display_, screen_), 0, 0, &x, &y, &child);
  area_ = {x, y, attributes.width, attributes.height};
  return true;
}

// Created unmapped, so the screen can still be read under it.
bool HackWindow::CreateOwn(bool fullScreen) {
  const Rect screen{0, 0, DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)};
  if (fullScreen) {
    area_ = screen;
  } else {
    Rect primary = screen;
    for (const saver::MonitorReport& m : ListMonitors(display_, screen_))
      if (m.primary) primary = m.bounds;
    // Half the primary monitor each way.
    const saver::WindowSize size = saver::OwnWindowSize(primary.w, primary.h);
    area_ = CentredIn(primary, size.w, size.h);
  }
  visual_ = DefaultVisual(display_, screen_);
  depth_ = DefaultDepth(display_, screen_);
  XSetWindowAttributes attributes{};
  attributes.background_pixmap = None;  // every pixel is painted from the frame; a fill would flash
  attributes.event_mask = kOwnWindowEvents;
  attributes.override_redirect = fullScreen ? True : False;  // over every monitor, no frame, no manager
  window_ = XCreateWindow(display_, RootWindow(display_, screen_), area_.x, area_.y, static_cast<unsigned>(area_.w),
                          static_cast<unsigned>(area_.h), 0, depth_, InputOutput, visual_,
                          CWBackPixmap | CWEventMask | CWOverrideRedirect, &attributes);
  if (window_ == None) return false;
  own_ = true;
  NameOwn();
  if (fullScreen) HidePointer();
  return true;
}

// Its title and class, a fixed size and the close button's message.
void HackWindow::NameOwn() {
  XStoreName(display_, window_, saver::kOwnWindowName);
  XClassHint classHint{const_cast<char*>(kProgramName), const_cast<char*>(saver::kOwnWindowName)};
  XSetClassHint(display_, window_, &classHint);
  // The picture is cut for this size: the window manager may place the window, not resize it.
  XSizeHints* size = XAllocSizeHints();
  if (size) {
    size->flags = PPosition | PSize | PMinSize | PMaxSize;
    size->x = area_.x;
    size->y = area_.y;
    size->width = size->min_width = size->max_width = area_.w;
    size->height = size->min_height = size->max_height = area_.h;
    XSetWMNormalHints(display_, window_, size);
    XFree(size);
  }
  deleteWindow_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display_, window_, &deleteWindow_, 1);
}

// As on Windows, no pointer over the full-screen leaves.
void HackWindow::HidePointer() {
  static const char kBlank[1] = {0};
  Pixmap empty = XCreateBitmapFromData(display_, window_, kBlank, 1, 1);
  XColor black{};
  blankCursor_ = XCreatePixmapCursor(display_, empty, empty, &black, &black, 0, 0);
  XFreePixmap(display_, empty);
  XDefineCursor(display_, window_, blankCursor_);
}

void HackWindow::Fit(const Rect& area) {
  if (own_ && !(area == area_))
    XMoveResizeWindow(display_, window_, area.x, area.y, static_cast<unsigned>(area.w), static_cast<unsigned>(area.h));
  area_ = area;
}

void HackWindow::Show() {
  if (own_) XMapRaised(display_, window_);
}

void HackWindow::Focus() {
  if (own_) XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
}

bool HackWindow::AsksToClose(const XClientMessageEvent& message) const {
  return message.format == 32 && static_cast<Atom>(message.data.l[0]) == deleteWindow_;
}

HackWindow::~HackWindow() {
  if (serverGone_) return;  // nothing to give back to a server that is gone
  if (own_) XDestroyWindow(display_, window_);
  if (blankCursor_ != None) XFreeCursor(display_, blankCursor_);
}

}  // namespace kovaren::x11
