// Shows one plain top-level window whose caption is the first argument, until it is closed or killed.
// The end-to-end tests use it to stand in for a running saver ("Tesmar_Main") or settings dialog
// ("＜Kovaren＞"). The caption is read with GetCommandLineW: argv of main() would pass through the ANSI
// code page and lose the full-width brackets.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

LRESULT CALLBACK CaptionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (args == nullptr || count < 2) return 2;
  const std::wstring caption = args[1];
  LocalFree(args);

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = CaptionProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  windowClass.lpszClassName = L"KovarenCaptionHost";
  if (RegisterClassW(&windowClass) == 0) return 3;
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, caption.c_str(), WS_OVERLAPPEDWINDOW,
                                40, 40, 240, 120, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 4;
  ShowWindow(window, SW_SHOWNOACTIVATE);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
