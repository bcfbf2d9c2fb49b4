// Folder src/preview owns the preview mode: what it decides before touching a window
// (preview_layout.h) and the window placed in the host's preview area (this file).
//
// The preview window (class "Tesmar_R"): a borderless black child placed into the host's preview
// area, showing the still miniature at its own size from the top-left corner. It has no timer and
// takes no input; its only work after start is to notice that the host has gone, whichever way it
// went, and end.
#include <windows.h>

#include <optional>
#include <utility>

#include "platform/gdi_win32.h"
#include "preview/preview_layout.h"
#include "preview/preview_win32.h"
#include "platform/resources_win32.h"
#include "platform/window_win32.h"

namespace kovaren::win32 {
namespace {

constexpr wchar_t kPreviewClass[] = L"Tesmar_R";
constexpr wchar_t kPreviewCaption[] = L"Preview Window";
constexpr wchar_t kPictureResource[] = L"PREVIEW";
// How often the host window is checked for, on top of the wait on its process: a low rate that still
// ends the preview well within a second of the host going.
constexpr ULONGLONG kHostPollMs = 250;

// The host's outer rectangle, or nothing when the handle names no window.
std::optional<ScreenRect> HostRectangle(HWND host) {
  if (!IsWindow(host)) return std::nullopt;
  RECT r{};
  if (!GetWindowRect(host, &r)) return std::nullopt;
  return ScreenRect{r.left, r.top, r.right, r.bottom};
}

class PreviewWindow final : public Window<PreviewWindow> {
 public:
  explicit PreviewWindow(std::optional<PixelBuffer> picture) : picture_(std::move(picture)) {}

  // Creates the window hidden, makes it a child of `host`, covers the host and shows the picture.
  // False when the window could not be made a child of the host; nothing is left on screen then.
  bool Start(HINSTANCE instance, HWND host, preview::Size size);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void Paint();

  std::optional<PixelBuffer> picture_;  // empty when the picture is missing: the preview stays black
};

bool PreviewWindow::Start(HINSTANCE instance, HWND host, preview::Size size) {
  WNDCLASSEXW wc{};
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  if (!RegisterClassOnce(instance, kPreviewClass, wc)) return false;

  // Created as a hidden borderless top-level window, then turned into the host's child. Parent
  // notifications are off so that nothing we do ever waits on the host's thread.
  if (!CreateAs(kPreviewClass, kPreviewCaption, WS_POPUP, WS_EX_NOPARENTNOTIFY, 0, 0, 0, 0, nullptr, nullptr,
                instance))
    return false;

  // WS_CHILD before SetParent; WS_POPUP goes, since a window cannot be both a child and a popup.
  const LONG style = GetWindowLongW(hwnd(), GWL_STYLE);
  SetWindowLongW(hwnd(), GWL_STYLE, static_cast<LONG>((static_cast<DWORD>(style) | WS_CHILD) & ~WS_POPUP));
  if (!SetParent(hwnd(), host)) {
    // The host vanished between the check and now: a stray top-level window would belong to nobody.
    DestroyWindow(hwnd());
    return false;
  }
  SetWindowPos(hwnd(), nullptr, 0, 0, size.w, size.h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  // Shown without taking the activation away from the host's dialog.
  ShowWindow(hwnd(), SW_SHOWNA);
  UpdateWindow(hwnd());
  return true;
}

void PreviewWindow::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  if (!dc) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  const preview::Size pictureSize = picture_ ? preview::Size{picture_->width(), picture_->height()} : preview::Size{};
  const preview::PaintPlan plan = preview::PlanPaint({client.right, client.bottom}, pictureSize);
  auto* black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  for (const Rect& r : {plan.blackRight, plan.blackBelow}) {
    if (r.empty()) continue;
    const RECT area{r.x, r.y, r.right(), r.bottom()};
    FillRect(dc, &area, black);
  }
  if (picture_) PresentPixels(dc, *picture_, plan.picture);
  EndPaint(hwnd(), &ps);
}

LRESULT PreviewWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel; erasing first would only flicker
    case WM_PAINT:
      Paint();
      return 0;
    case WM_DESTROY:     // the host destroyed its preview area
    case WM_NCDESTROY:   // the host's process ended without destroying its windows
      PostQuitMessage(0);
      break;
    default:
      break;
  }
  return DefaultHandling(msg, wp, lp);
}

// A handle that is signalled when the host's process ends (killed included); null when it cannot be
// had, and the window poll alone then notices the host going.
HANDLE OpenHostProcess(HWND host) {
  DWORD processId = 0;
  if (!GetWindowThreadProcessId(host, &processId) || processId == 0) return nullptr;
  return OpenProcess(SYNCHRONIZE, FALSE, processId);
}

// Serves the window's messages until the preview window goes, the host's process ends or the host
// window no longer exists.
void RunUntilHostGoes(HWND host) {
  HANDLE hostProcess = OpenHostProcess(host);
  const DWORD handleCount = hostProcess ? 1 : 0;
  ULONGLONG nextPoll = GetTickCount64() + kHostPollMs;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= nextPoll) {
      if (!IsWindow(host)) break;
      nextPoll = now + kHostPollMs;
    }
    const DWORD timeout = static_cast<DWORD>(nextPoll - now);
    const DWORD woke = MsgWaitForMultipleObjects(handleCount, &hostProcess, FALSE, timeout, QS_ALLINPUT);
    if (handleCount == 1 && woke == WAIT_OBJECT_0) break;
    if (woke == WAIT_FAILED) Sleep(static_cast<DWORD>(kHostPollMs));  // keep polling, never spin
    bool quit = false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (quit) break;
  }
  if (hostProcess) CloseHandle(hostProcess);
}

}  // namespace

void RunPreview(const StartContext& context, preview::HostWindow host) {
  RunPreviewShowing(context, host, ResourcePicture(kPictureResource));
}

void RunPreviewShowing(const StartContext& context, preview::HostWindow hostWindow, std::optional<PixelBuffer> picture) {
  // The handle is already widened as the system widens it: only its type changes here.
  const auto host = reinterpret_cast<HWND>(hostWindow.value);
  const std::optional<preview::Size> size = preview::PlanPreview(hostWindow, HostRectangle(host));
  if (!size) return;  // no host: end at once rather than show a window nobody holds

  PreviewWindow window(std::move(picture));
  if (!window.Start(context.instance, host, *size)) return;
  RunUntilHostGoes(host);
  // The process ends right after this returns; the window goes with it.
}

}  // namespace kovaren::win32
