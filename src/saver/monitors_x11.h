// The monitors of an X screen, as the monitor plan wants them: RandR's monitors where the server
// offers RandR 1.5, Xinerama's screens otherwise, each with its DPI from its size in millimetres
// (96 when the size is unknown).
#pragma once
#include <X11/Xlib.h>

#include <vector>

#include "saver/monitor_plan.h"

namespace kovaren::x11 {

// Empty when the server reports none (the caller then treats the whole screen as one monitor).
std::vector<saver::MonitorReport> ListMonitors(Display* display, int screen);

// DPI of `pixels` shown on `millimetres`; kBaseDpi when the size is unknown.
int DpiFromSize(int pixels, int millimetres);

}  // namespace kovaren::x11
