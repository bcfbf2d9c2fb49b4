// A stand-in for the settings dialog, for the skinned button's end-to-end tests: a borderless window
// at a fixed place on the screen holding two skinned buttons, each Click appended to a log file.
//
//   button_host --scr PATH --log FILE
//
// PATH is Kovaren.scr, opened as a data file for its skin pictures (this host embeds none). The
// window is at (kHostX, kHostY), 300 x 100; the buttons sit at (20, 20) 81 x 25 (id 101, "設定")
// and (120, 22) 29 x 21 (id 102, "..."), and a disabled one at (180, 60) 81 x 25 (id 103, "無効"). The log gets "click <id>" lines, flushed at once, and
// "ready" when the buttons are up.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "skin_button/button_win32.h"

namespace {

constexpr wchar_t kHostClass[] = L"KovarenButtonHost";
constexpr wchar_t kHostCaption[] = L"Kovaren button host";
constexpr int kHostX = 100, kHostY = 100, kHostW = 300, kHostH = 100;
constexpr int kSetId = 101, kBrowseId = 102, kDisabledId = 103;

HANDLE g_log = INVALID_HANDLE_VALUE;

void Log(const char* line) {
  if (g_log == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(g_log, line, static_cast<DWORD>(strlen(line)), &written, nullptr);
  WriteFile(g_log, "\n", 1, &written, nullptr);
  FlushFileBuffers(g_log);
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) {
        const std::string line = "click " + std::to_string(LOWORD(wp));
        Log(line.c_str());
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring scr, log;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::wstring key = argv[i];
    if (key == L"--scr") scr = argv[i + 1];
    if (key == L"--log") log = argv[i + 1];
  }
  if (!log.empty()) {
    g_log = CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
  }
  HMODULE skins = scr.empty() ? nullptr : LoadLibraryExW(scr.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!skins) Log("no skins");

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = HostProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kHostClass;
  RegisterClassExW(&wc);
  if (!kovaren::win32::RegisterSkinButtonClass(instance)) Log("no class");
  const HMODULE skinResources = skins ? skins : instance;

  HWND host = CreateWindowExW(0, kHostClass, kHostCaption, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, kHostX, kHostY,
                              kHostW, kHostH, nullptr, nullptr, instance, nullptr);
  HWND set = kovaren::win32::CreateSkinButton(host, kSetId, L"\x8A2D\x5B9A", 20, 20, 81, 25, instance, skinResources);
  HWND browse = kovaren::win32::CreateSkinButton(host, kBrowseId, L"...", 120, 22, 29, 21, instance, skinResources);
  HWND disabled =
      kovaren::win32::CreateSkinButton(host, kDisabledId, L"\x7121\x52B9", 180, 60, 81, 25, instance, skinResources);
  kovaren::win32::InitializeSkinButton(set);
  kovaren::win32::InitializeSkinButton(browse);
  kovaren::win32::InitializeSkinButton(disabled);
  EnableWindow(disabled, FALSE);
  SetForegroundWindow(host);
  SetFocus(host);
  Log(set && browse && disabled ? "ready" : "no buttons");

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(host, &msg)) continue;  // Tab between the buttons, as the settings dialog does
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
