// The window the X11 program draws in: the one the options choose (handed over by a daemon or a
// locker, the preview's, the root) or one of its own, created hidden so that the screen can still be
// read under it. It selects the events its kind hears and, when it goes, gives back only what it made.
#pragma once
#include <X11/Xlib.h>

#include <memory>

#include "gfx/pixel_buffer.h"
#include "saver/hack_options.h"

namespace kovaren::x11 {

class HackWindow {
 public:
  // Null when a window handed over does not exist (said on stderr) or ours cannot be made.
  static std::unique_ptr<HackWindow> Take(Display* display, int screen, const saver::HackOptions& options);
  ~HackWindow();
  HackWindow(const HackWindow&) = delete;
  HackWindow& operator=(const HackWindow&) = delete;

  Window id() const { return window_; }
  // Whether we made it (and so map, resize, focus and destroy it).
  bool own() const { return own_; }
  Visual* visual() const { return visual_; }
  int depth() const { return depth_; }
  // Where it lies, root coordinates.
  const Rect& area() const { return area_; }

  // The window now covers `area`: ours is moved and resized to it; one handed over was sized by its
  // owner and is only followed.
  void Fit(const Rect& area);
  // Ours shows, raised, painted on its first Expose; one handed over is already showing.
  void Show();
  // Keys go to the focused window only; one that was mapped but never focused (as under a server
  // without a window manager) would never hear the key that should end it.
  void Focus();
  // Whether `message` is the window manager's close button on ours (WM_DELETE_WINDOW).
  bool AsksToClose(const XClientMessageEvent& message) const;
  // The server is gone: going, the window asks nothing of it.
  void Abandon() { serverGone_ = true; }

 private:
  HackWindow(Display* display, int screen) : display_(display), screen_(screen) {}
  bool TakeHandedOver(Window window);
  bool CreateOwn(bool fullScreen);
  void NameOwn();
  void HidePointer();

  Display* display_;
  int screen_;
  Window window_ = None;
  bool own_ = false;
  Visual* visual_ = nullptr;
  int depth_ = 0;
  Rect area_;
  Atom deleteWindow_ = None;
  Cursor blankCursor_ = None;
  bool serverGone_ = false;
};

}  // namespace kovaren::x11
