// The X11 program's saver: leaves falling in the window the options choose until a signal, a lost
// connection, the window's end or (in a window of its own) a key or a click ends it.
#pragma once
#include "saver/hack_options.h"

namespace kovaren::x11 {

// The exit status: 0 when it ended as asked, 1 when it could not start (no display, no window).
int RunHack(const saver::HackOptions& options);

}  // namespace kovaren::x11
