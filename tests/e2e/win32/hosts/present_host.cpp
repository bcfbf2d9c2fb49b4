// The saver's screen with a chosen way of presenting, for measuring what each costs end to end:
//   present_host.exe METHOD LEAFCOUNT SECONDS
// METHOD: whole (the plain loop: rebuild and present the whole frame every pass), box (the dirty
// region's bounding box with the region as the clip), rects (one SetDIBitsToDevice per rectangle),
// section (a DIB section and one BitBlt per rectangle), groups (rectangles in groups of nearby ones,
// a flush after each), paced (the same window and pacing, but no passes: what waking up 60 times a
// second costs by itself). The leaf sprites come from Kovaren.scr in
// the host's folder. Covers every monitor like the saver, starts with about half the leaves showing
// (as in a long run), paces at the saver's pass rate, ends after SECONDS or on a key. bench/present_cpu.sh drives it.
#include <windows.h>
#include <shellapi.h>
#include <mmsystem.h>

#include <cwchar>
#include <optional>
#include <string>

#include "saver/pass_clock.h"
#include "saver/saver_screen_win32.h"
#include "saver/sprites_win32.h"

namespace {

using kovaren::win32::PresentMethod;

constexpr wchar_t kPacedOnly[] = L"paced";

std::optional<PresentMethod> MethodNamed(const std::wstring& name) {
  if (name == kPacedOnly) return PresentMethod::WholeFrame;  // never presents after the first paint
  if (name == L"whole") return PresentMethod::WholeFrame;
  if (name == L"box") return PresentMethod::ClippedBox;
  if (name == L"rects") return PresentMethod::EachRect;
  if (name == L"section") return PresentMethod::SectionBlits;
  if (name == L"groups") return PresentMethod::FlushedGroups;
  return std::nullopt;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN) PostQuitMessage(0);
  if (message == WM_ERASEBKGND) return 1;
  return DefWindowProcW(window, message, wParam, lParam);
}

int64_t Now() {
  LARGE_INTEGER t{};
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (args == nullptr || count < 4) return 2;
  const std::optional<PresentMethod> method = MethodNamed(args[1]);
  const bool passes = std::wstring(args[1]) != kPacedOnly;
  const int leafCount = static_cast<int>(std::wcstol(args[2], nullptr, 10));
  const DWORD seconds = static_cast<DWORD>(std::wcstol(args[3], nullptr, 10));
  LocalFree(args);
  if (!method) return 2;

  HMODULE saver = LoadLibraryExW(L"Kovaren.scr", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!saver) return 3;
  const auto sprites = kovaren::win32::LoadEmbeddedSprites(saver);
  if (!sprites) return 3;

  WNDCLASSW windowClass{};
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = HostProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"KovarenPresentHost";
  if (RegisterClassW(&windowClass) == 0) return 4;
  const kovaren::saver::MonitorPlan plan = kovaren::win32::PlanScreens();
  const kovaren::Rect& area = plan.window;
  HWND window = CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"present_host", WS_POPUP, area.x, area.y,
                                area.w, area.h, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 4;
  HDC dc = GetDC(window);
  kovaren::win32::SaverScreen screen(plan, *method, *method);
  screen.StartLeaves(sprites, leafCount, GetTickCount());
  screen.SkipToTypicalState();
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  screen.Paint(dc);

  timeBeginPeriod(1);
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  kovaren::saver::PassClock clock(frequency.QuadPart, Now());
  const DWORD end = GetTickCount() + seconds * 1000;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    const int due = clock.TakeDuePasses(Now());
    for (int i = 0; passes && i < due; ++i) screen.RunPass(dc);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return 0;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    const DWORD wait = clock.MillisecondsUntilNextPass(Now());
    if (wait > 0) MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  return 0;
}
