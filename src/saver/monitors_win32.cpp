#include "saver/monitors_win32.h"

#include <windows.h>

namespace kovaren::win32 {
namespace {

// shcore's GetDpiForMonitor, looked up at run time so the program still starts where shcore or the
// function is missing (Windows 7 and 8).
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

GetDpiForMonitorFn FindGetDpiForMonitor() {
  HMODULE shcore = LoadLibraryW(L"shcore.dll");  // kept loaded: the process is short-lived
  if (!shcore) return nullptr;
  return reinterpret_cast<GetDpiForMonitorFn>(
      reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
}

// The system DPI, which a system-DPI-aware process (all that Windows 7 offers) gets on every monitor.
int SystemDpi() {
  HDC screen = GetDC(nullptr);
  if (!screen) return saver::kBaseDpi;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : saver::kBaseDpi;
}

struct Listing {
  GetDpiForMonitorFn getDpi = nullptr;
  int fallbackDpi = saver::kBaseDpi;
  std::vector<saver::MonitorReport> monitors;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto& listing = *reinterpret_cast<Listing*>(data);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;  // this one is gone; the others still count
  const RECT& r = info.rcMonitor;
  int dpi = listing.fallbackDpi;
  UINT x = 0, y = 0;
  if (listing.getDpi && SUCCEEDED(listing.getDpi(monitor, kEffectiveDpi, &x, &y))) dpi = static_cast<int>(x);
  listing.monitors.push_back({{r.left, r.top, r.right - r.left, r.bottom - r.top},
                              dpi,
                              (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  return TRUE;
}

}  // namespace

Rect VirtualScreen() {
  return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
          GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

std::vector<saver::MonitorReport> ListMonitors() {
  Listing listing;
  listing.getDpi = FindGetDpiForMonitor();
  if (!listing.getDpi) listing.fallbackDpi = SystemDpi();
  EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&listing));
  return listing.monitors;
}

}  // namespace kovaren::win32
