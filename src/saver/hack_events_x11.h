// What the X server tells the X11 program, decoded and acted on: paint requests paint, the screens'
// or the window's changes re-plan the leaves, and keys, clicks, close requests and the window's end
// go back as the events the ending rules judge (hack_ending.h).
#pragma once
#include <X11/Xlib.h>

#include <optional>

#include "saver/hack_ending.h"
#include "saver/hack_options.h"
#include "saver/hack_scenes_x11.h"
#include "saver/hack_window_x11.h"

namespace kovaren::x11 {

class HackEvents {
 public:
  // Asks for what `window`'s kind follows beyond its own events: a full-screen window and the root
  // follow the root's size and RandR's monitors; a window handed over its own ConfigureNotify.
  HackEvents(Display* display, int screen, const HackWindow& window, saver::HackTarget target);

  // Paints or re-plans as `event` asks; returns what the ending rules should judge, if anything.
  std::optional<saver::HackEvent> Handle(const XEvent& event, HackWindow& window, HackScenes& scenes) const;

 private:
  bool IsScreenChange(const XEvent& event) const;

  Display* display_;
  int screen_;
  int randrEvents_ = -1;  // RandR's first event number; -1 without RandR
};

}  // namespace kovaren::x11
