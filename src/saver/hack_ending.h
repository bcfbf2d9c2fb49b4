// When the X11 program ends. A daemon or locker owns the keyboard and the pointer and ends its hack
// with SIGTERM; any exit of its own would show as a crash, so in a window handed over nothing but a
// signal, a lost connection or the window's end stops it. In a window of its own it ends as the
// Windows saver does: on a key or a click (not on a move), and when the window is closed.
#pragma once
#include "saver/hack_options.h"

namespace kovaren::saver {

enum class HackEvent {
  KeyDown,
  ButtonDown,
  PointerMoved,
  CloseAsked,      // the window manager's close button (WM_DELETE_WINDOW)
  WindowGone,      // the window we draw in was destroyed
  ConnectionLost,  // the X server went away
  Terminated,      // SIGTERM or SIGINT
};

bool EndsHack(HackEvent event, HackTarget target);

// Whether the program asks for keys and clicks on its window at all: a window handed over is the
// daemon's, whose grab they belong to.
bool ListensForInput(HackTarget target);

}  // namespace kovaren::saver
