// Writes the screens as this Wine reports them to a program, so a test can tell what the saver will
// plan and wait until a change of the X server's outputs has reached Wine:
//   screens_host FILE
// FILE gets "virtual X Y W H", then "monitor X Y W H" per monitor in the system's order, "primary"
// appended to the primary's line. Exit 0 when written, 2 bad arguments, 3 the file cannot be written.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

BOOL CALLBACK WriteMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  const RECT& r = info.rcMonitor;
  std::fprintf(reinterpret_cast<std::FILE*>(data), "monitor %ld %ld %ld %ld%s\n", r.left, r.top, r.right - r.left,
               r.bottom - r.top, (info.dwFlags & MONITORINFOF_PRIMARY) ? " primary" : "");
  return TRUE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (args == nullptr || count != 2) return 2;
  const std::wstring path = args[1];
  LocalFree(args);
  std::FILE* out = _wfopen(path.c_str(), L"w");
  if (out == nullptr) return 3;
  std::fprintf(out, "virtual %d %d %d %d\n", GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
               GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
  EnumDisplayMonitors(nullptr, nullptr, &WriteMonitor, reinterpret_cast<LPARAM>(out));
  return std::fclose(out) == 0 ? 0 : 3;
}
