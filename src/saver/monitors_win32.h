// What the system says about the screens: the virtual screen and every monitor with its effective
// DPI. Where that cannot be asked (GetDpiForMonitor arrived with Windows 8.1) the system DPI stands in.
#pragma once
#include <vector>

#include "gfx/pixel_buffer.h"
#include "saver/monitor_plan.h"

namespace kovaren::win32 {

// The bounding rectangle of all monitors, desktop coordinates.
Rect VirtualScreen();

// Every monitor, in the system's order. Empty when they cannot be listed.
std::vector<saver::MonitorReport> ListMonitors();

}  // namespace kovaren::win32
