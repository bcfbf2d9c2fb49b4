// A stand-in for the system's screen-saver settings page, for the preview's end-to-end tests. It
// prepares a preview area, starts Kovaren.scr into it, reports what became of the area's children,
// and then goes away in the way asked for. Two helper modes measure from outside:
//
//   preview_host --scr PATH [--size WxH] [--form space|colon|wide] [--report FILE] [--end destroy|exit|stay]
//                [--after MS] [--mark FILE]
//       destroy: DestroyWindow of the area, then the host lingers; exit: ExitProcess with every window
//       still there; stay: runs until killed. --mark notes the moment it starts to go.
//   preview_host --watch HOSTPID AREA PREVIEWPID --report FILE
//       reports how long the preview's process outlives the host: from the host's mark (FILE.end) or,
//       without one (a killed host), from seeing its process end or its area window gone.
//   preview_host --in-process [--scr PATH] [--size WxH] [--after MS] --report FILE
//       runs the preview itself inside this process (so its drawing shows on screen) with the picture
//       embedded in PATH (none without it), destroys the area
//       after MS and notes in FILE.end how soon the preview returned.
//   preview_host --launch PATH ARGS --report FILE
//       runs PATH with ARGS ("{dead}" is replaced by the handle of a window that no longer exists) and
//       reports how long it ran and whether a "Preview Window" showed meanwhile.
//
// Reports are small "key value" text files, written whole and then renamed into place, so a reader
// never sees half of one.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "platform/start_context_win32.h"
#include "preview/preview_win32.h"
#include "gfx/bmp.h"

namespace {

constexpr wchar_t kHostClass[] = L"KovarenPreviewHost";
constexpr wchar_t kAreaClass[] = L"KovarenPreviewArea";
constexpr wchar_t kPreviewCaption[] = L"Preview Window";

struct Options {
  std::wstring mode = L"host";
  std::wstring scr;
  int areaW = 152, areaH = 112;
  std::wstring form = L"space";
  std::wstring report;
  std::wstring mark;  // where the host notes the moment it starts to go (the watcher's report + ".end")
  std::wstring end = L"stay";
  DWORD afterMs = 1000;
  DWORD waitChildMs = 15000;
  std::wstring launchArgs;
  DWORD watchHostPid = 0, watchPreviewPid = 0;
  HWND watchArea = nullptr;
};

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

void WriteReport(const std::wstring& path, const std::string& text) {
  if (path.empty()) return;
  const std::wstring temp = path + L".part";
  HANDLE f = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(f);
  MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::string Line(const char* key, unsigned long long value) {
  return std::string(key) + " " + std::to_string(value) + "\n";
}

uintptr_t HandleValue(HWND h) { return reinterpret_cast<uintptr_t>(h); }

Options ParseOptions() {
  Options o;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; i < argc; ++i) {
    const std::wstring a = argv[i];
    auto next = [&]() -> std::wstring { return i + 1 < argc ? std::wstring(argv[++i]) : std::wstring(); };
    if (a == L"--scr") {
      o.scr = next();
    } else if (a == L"--size") {
      swscanf(next().c_str(), L"%dx%d", &o.areaW, &o.areaH);
    } else if (a == L"--form") {
      o.form = next();
    } else if (a == L"--report") {
      o.report = next();
    } else if (a == L"--mark") {
      o.mark = next();
    } else if (a == L"--end") {
      o.end = next();
    } else if (a == L"--after") {
      o.afterMs = static_cast<DWORD>(_wtoi(next().c_str()));
    } else if (a == L"--watch") {
      o.mode = L"watch";
      o.watchHostPid = static_cast<DWORD>(_wtoi(next().c_str()));
      o.watchArea = reinterpret_cast<HWND>(static_cast<uintptr_t>(wcstoull(next().c_str(), nullptr, 10)));
      o.watchPreviewPid = static_cast<DWORD>(_wtoi(next().c_str()));
    } else if (a == L"--in-process") {
      o.mode = L"in-process";
    } else if (a == L"--launch") {
      o.mode = L"launch";
      o.scr = next();
      o.launchArgs = next();
    }
  }
  LocalFree(argv);
  return o;
}

bool Start(const std::wstring& exe, const std::wstring& args, PROCESS_INFORMATION& pi) {
  std::wstring line = L"\"" + exe + L"\"";
  if (!args.empty()) line += L" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  return CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != 0;
}

void PumpFor(DWORD ms) {
  const ULONGLONG until = GetTickCount64() + ms;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= until) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(until - now, 20)),
                              QS_ALLINPUT);
  }
}

std::string DescribeChildren(HWND area, DWORD previewPid) {
  std::string out;
  int count = 0;
  for (HWND c = GetWindow(area, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    wchar_t title[256] = {}, cls[256] = {};
    GetWindowTextW(c, title, 256);
    GetClassNameW(c, cls, 256);
    RECT r{};
    GetWindowRect(c, &r);
    MapWindowPoints(HWND_DESKTOP, area, reinterpret_cast<POINT*>(&r), 2);
    DWORD pid = 0;
    GetWindowThreadProcessId(c, &pid);
    const LONG style = GetWindowLongW(c, GWL_STYLE);
    char line[700];
    std::snprintf(line, sizeof(line),
                  "child title=\"%s\" class=%s x=%ld y=%ld w=%ld h=%ld visible=%d child_style=%d popup_style=%d "
                  "border=%d from_preview=%d parent_is_area=%d\n",
                  Utf8(title).c_str(), Utf8(cls).c_str(), r.left, r.top, r.right - r.left, r.bottom - r.top,
                  IsWindowVisible(c) ? 1 : 0, (style & WS_CHILD) ? 1 : 0, (style & WS_POPUP) ? 1 : 0,
                  (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) ? 1 : 0, pid == previewPid ? 1 : 0,
                  GetParent(c) == area ? 1 : 0);
    out += line;
    ++count;
  }
  return Line("children", static_cast<unsigned>(count)) + out;
}

// The host's top-level window (button-face grey) and its preview area (dark grey) at (20, 20) of it.
bool CreateHostWindows(const Options& o, HWND& top, HWND& area) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kHostClass;
  RegisterClassExW(&wc);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.lpszClassName = kAreaClass;
  RegisterClassExW(&wc);

  top = CreateWindowExW(0, kHostClass, L"Preview Host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40,
                        o.areaW + 80, o.areaH + 100, nullptr, nullptr, instance, nullptr);
  area = CreateWindowExW(0, kAreaClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20, o.areaW, o.areaH,
                         top, nullptr, instance, nullptr);
  if (!top || !area) return false;
  ShowWindow(top, SW_SHOWNORMAL);
  UpdateWindow(top);
  return true;
}

int RunHost(const Options& o) {
  HWND top = nullptr, area = nullptr;
  if (!CreateHostWindows(o, top, area)) return 2;

  // "wide" prints the handle as a 64-bit host may: unsigned 64-bit, with every upper bit set (only the
  // low 32 bits of a window handle are significant).
  const uint64_t value = o.form == L"wide" ? (uint64_t{0xFFFFFFFF} << 32) | static_cast<uint32_t>(HandleValue(area))
                                           : static_cast<uint64_t>(HandleValue(area));
  const std::wstring handle = std::to_wstring(value);
  const std::wstring args = o.form == L"colon" ? L"/p:" + handle : L"/p " + handle;
  PROCESS_INFORMATION pi{};
  if (!Start(o.scr, args, pi)) return 3;

  // Wait for the preview to settle in the area: a visible child of the area's size, or the preview
  // process gone, or time up. The report then says what was found either way.
  const ULONGLONG deadline = GetTickCount64() + o.waitChildMs;
  for (;;) {
    PumpFor(20);
    HWND c = GetWindow(area, GW_CHILD);
    if (c && IsWindowVisible(c)) {
      PumpFor(200);  // let the sizing finish
      break;
    }
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
    if (GetTickCount64() >= deadline) break;
  }
  RECT areaRect{};
  GetClientRect(area, &areaRect);
  DWORD previewExit = STILL_ACTIVE;
  GetExitCodeProcess(pi.hProcess, &previewExit);
  std::string report = Line("host_pid", GetCurrentProcessId()) + Line("area_hwnd", HandleValue(area)) +
                       Line("handle_given", value) + Line("area_w", static_cast<unsigned>(areaRect.right)) +
                       Line("area_h", static_cast<unsigned>(areaRect.bottom)) + Line("preview_pid", pi.dwProcessId) +
                       Line("preview_running", previewExit == STILL_ACTIVE ? 1 : 0) +
                       DescribeChildren(area, pi.dwProcessId) + "ready\n";
  WriteReport(o.report, report);

  PumpFor(o.afterMs);
  if (!o.mark.empty()) WriteReport(o.mark, "end_tick " + std::to_string(GetTickCount64()) + "\n");
  if (o.end == L"destroy") {
    DestroyWindow(area);
    PumpFor(5000);  // stay alive: the preview must go because of the window, not the process
    return 0;
  }
  if (o.end == L"exit") ExitProcess(0);  // every window still exists
  for (;;) PumpFor(1000);                // until killed
}

// The moment the host starts to go, from the host itself (the tick count is one clock for every
// process): the area's DestroyWindow can still be running when the preview has already ended, so the
// watcher's own sighting would come too late.
std::wstring EndMarkPath(const std::wstring& report) { return report + L".end"; }

std::optional<ULONGLONG> ReadEndMark(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return std::nullopt;
  char text[64] = {};
  DWORD got = 0;
  ReadFile(f, text, sizeof(text) - 1, &got, nullptr);
  CloseHandle(f);
  unsigned long long tick = 0;
  if (std::sscanf(text, "end_tick %llu", &tick) != 1) return std::nullopt;
  return tick;
}

int RunWatch(const Options& o) {
  HANDLE host = OpenProcess(SYNCHRONIZE, FALSE, o.watchHostPid);
  HANDLE preview = OpenProcess(SYNCHRONIZE, FALSE, o.watchPreviewPid);
  std::string report = Line("watching", host && preview ? 1 : 0);
  if (!preview) {
    WriteReport(o.report, report + "preview_gone_before_host 1\n");
    return 1;
  }
  auto hostGoneNow = [&] {
    const bool hostProcessGone = !host || WaitForSingleObject(host, 0) == WAIT_OBJECT_0;
    return hostProcessGone || !IsWindow(o.watchArea);
  };
  std::optional<ULONGLONG> hostSeenGone;
  const ULONGLONG deadline = GetTickCount64() + 60000;
  ULONGLONG previewGone = 0;
  for (;;) {
    if (!hostSeenGone && hostGoneNow()) hostSeenGone = GetTickCount64();
    if (WaitForSingleObject(preview, 5) == WAIT_OBJECT_0) {
      previewGone = GetTickCount64();
      break;
    }
    if (GetTickCount64() >= deadline || (hostSeenGone && GetTickCount64() - *hostSeenGone > 10000)) {
      WriteReport(o.report, report + (hostSeenGone ? "preview_gone 0\n" : "host_never_went 1\n"));
      return 1;
    }
  }
  if (!hostSeenGone && hostGoneNow()) hostSeenGone = previewGone;
  std::optional<ULONGLONG> reference = ReadEndMark(EndMarkPath(o.report));
  if (!reference) reference = hostSeenGone;
  if (!reference || previewGone < *reference) {
    WriteReport(o.report, report + "preview_gone_before_host 1\n");
    return 1;
  }
  report += Line("preview_gone", 1) + Line("preview_gone_ms", previewGone - *reference);
  WriteReport(o.report, report);
  return 0;
}

// The preview run inside this process, where (unlike a child of another process under Wine) its
// drawing reaches the screen. It shows the PREVIEW picture embedded in the Kovaren.scr named by
// --scr, or, without one, no picture at all. A timer reports where the area is on screen; a later
// one destroys the area.
struct InProcess {
  static inline const Options* options = nullptr;
  static inline HWND area = nullptr;
  static inline ULONGLONG destroyedAt = 0;
};

void CALLBACK ReportInProcess(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  POINT origin{0, 0};
  ClientToScreen(InProcess::area, &origin);
  WriteReport(InProcess::options->report, Line("area_x", static_cast<unsigned>(origin.x)) +
                                              Line("area_y", static_cast<unsigned>(origin.y)) +
                                              DescribeChildren(InProcess::area, GetCurrentProcessId()) +
                                              "ready\n");
}

void CALLBACK DestroyAreaInProcess(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  InProcess::destroyedAt = GetTickCount64();
  DestroyWindow(InProcess::area);
}

// The picture embedded in another executable, read from it as a data file.
std::optional<kovaren::PixelBuffer> PictureFrom(const std::wstring& exe) {
  if (exe.empty()) return std::nullopt;
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return std::nullopt;
  std::optional<kovaren::PixelBuffer> picture;
  if (HRSRC info = FindResourceW(module, L"PREVIEW", MAKEINTRESOURCEW(10) /* RT_RCDATA */)) {
    if (HGLOBAL data = LoadResource(module, info)) {
      const auto* bytes = static_cast<const uint8_t*>(LockResource(data));
      if (bytes) picture = kovaren::DecodeBmp({bytes, static_cast<size_t>(SizeofResource(module, info))});
    }
  }
  FreeLibrary(module);
  return picture;
}

int RunInProcess(const Options& o) {
  HWND top = nullptr, area = nullptr;
  if (!CreateHostWindows(o, top, area)) return 2;
  InProcess::options = &o;
  InProcess::area = area;
  SetTimer(nullptr, 0, 800, ReportInProcess);
  SetTimer(nullptr, 0, o.afterMs, DestroyAreaInProcess);
  const kovaren::win32::StartContext context{.instance = GetModuleHandleW(nullptr)};
  // Returns once the preview has noticed the area go.
  kovaren::win32::RunPreviewShowing(context, {reinterpret_cast<intptr_t>(area)}, PictureFrom(o.scr));
  const bool destroyed = InProcess::destroyedAt != 0;
  WriteReport(o.report + L".end", Line("returned_after_destroy", destroyed ? 1 : 0) +
                                      Line("returned_ms", destroyed ? GetTickCount64() - InProcess::destroyedAt : 0));
  return 0;
}

int RunLaunch(const Options& o) {
  std::wstring args = o.launchArgs;
  const std::wstring placeholder = L"{dead}";
  if (const auto at = args.find(placeholder); at != std::wstring::npos) {
    HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const std::wstring value = std::to_wstring(HandleValue(gone));
    DestroyWindow(gone);
    args.replace(at, placeholder.size(), value);
  }
  PROCESS_INFORMATION pi{};
  const ULONGLONG started = GetTickCount64();
  if (!Start(o.scr, args, pi)) return 3;
  bool strayWindow = false;
  bool ended = false;
  while (GetTickCount64() - started < 10000) {
    if (FindWindowW(nullptr, kPreviewCaption)) strayWindow = true;
    if (WaitForSingleObject(pi.hProcess, 10) == WAIT_OBJECT_0) {
      ended = true;
      break;
    }
  }
  std::string report = Line("ended", ended ? 1 : 0) + Line("ran_ms", GetTickCount64() - started) +
                       Line("preview_window_seen", strayWindow ? 1 : 0);
  if (!ended) TerminateProcess(pi.hProcess, 1);
  WriteReport(o.report, report);
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const Options o = ParseOptions();
  if (o.mode == L"watch") return RunWatch(o);
  if (o.mode == L"launch") return RunLaunch(o);
  if (o.mode == L"in-process") return RunInProcess(o);
  return RunHost(o);
}
