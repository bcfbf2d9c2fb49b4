#include "saver/monitors_x11.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

#include <cmath>

namespace kovaren::x11 {
namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr int kRandrMonitorsMajor = 1;  // XRRGetMonitors came with RandR 1.5
constexpr int kRandrMonitorsMinor = 5;

std::vector<saver::MonitorReport> RandrMonitors(Display* display, int screen) {
  std::vector<saver::MonitorReport> monitors;
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XRRQueryExtension(display, &event, &error) || !XRRQueryVersion(display, &major, &minor)) return monitors;
  if (major < kRandrMonitorsMajor || (major == kRandrMonitorsMajor && minor < kRandrMonitorsMinor)) return monitors;
  int count = 0;
  XRRMonitorInfo* info = XRRGetMonitors(display, RootWindow(display, screen), True, &count);
  if (!info) return monitors;
  for (int i = 0; i < count; ++i) {
    const XRRMonitorInfo& m = info[i];
    monitors.push_back({{m.x, m.y, m.width, m.height}, DpiFromSize(m.width, m.mwidth), m.primary != 0});
  }
  XRRFreeMonitors(info);
  return monitors;
}

std::vector<saver::MonitorReport> XineramaMonitors(Display* display) {
  std::vector<saver::MonitorReport> monitors;
  int event = 0, error = 0;
  if (!XineramaQueryExtension(display, &event, &error) || !XineramaIsActive(display)) return monitors;
  int count = 0;
  XineramaScreenInfo* info = XineramaQueryScreens(display, &count);
  if (!info) return monitors;
  // Xinerama knows no sizes in millimetres, nor which screen is primary: the first one is.
  for (int i = 0; i < count; ++i) {
    monitors.push_back({{info[i].x_org, info[i].y_org, info[i].width, info[i].height}, saver::kBaseDpi, i == 0});
  }
  XFree(info);
  return monitors;
}

}  // namespace

int DpiFromSize(int pixels, int millimetres) {
  if (pixels <= 0 || millimetres <= 0) return saver::kBaseDpi;
  return static_cast<int>(std::lround(pixels * kMillimetresPerInch / millimetres));
}

std::vector<saver::MonitorReport> ListMonitors(Display* display, int screen) {
  std::vector<saver::MonitorReport> monitors = RandrMonitors(display, screen);
  if (monitors.empty()) monitors = XineramaMonitors(display);
  return monitors;
}

}  // namespace kovaren::x11
