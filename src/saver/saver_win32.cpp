// Folder src/saver owns the full-screen saver: the leaf model (leaf.h), the sprites, the scene that
// composes each pass (leaf_scene.h), pacing (pass_clock.h), the clip region of a present, what input
// and exit mean (saver_input.h), and its Win32 window (this file).
//
// The full-screen saver window (class and caption "Tesmar_Main"): a borderless topmost popup over the
// primary screen showing the desktop snapshot with the leaves falling over it, paced at a fixed pass
// rate, ended by a key or a click. The leaves, the compositing and every decision live in the portable
// core; this file only takes the snapshot, paces, presents and routes messages.
#include <windows.h>
#include <mmsystem.h>

#include <exception>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/gdi_win32.h"
#include "main/modes_win32.h"
#include "platform/window_win32.h"
#include "music/saver_music.h"
#include "music/winmm_port_win32.h"
#include "saver/leaf.h"
#include "saver/leaf_scene.h"
#include "saver/pass_clock.h"
#include "saver/present_region.h"
#include "saver/saver_input.h"
#include "saver/sprites_win32.h"

namespace kovaren::win32 {
namespace {

// The caption (kSaverCaption) is how start-up recognises a running saver; the class shares the name.
constexpr wchar_t kSaverClass[] = L"Tesmar_Main";
// Window timer ids of the two music polls.
constexpr UINT_PTR kMp3PollTimer = 1;
constexpr UINT_PTR kCdPollTimer = 2;
// Sleep granularity while the saver runs: without it a 17 ms wait can last 31 ms on Windows, and
// passes would arrive in pairs.
constexpr UINT kTimerResolutionMs = 1;

class SaverWindow final : public Window<SaverWindow> {
 public:
  SaverWindow(StartContext& context, Settings& settings) : context_(context), settings_(settings) {}

  // The start sequence, in order: hidden full-screen window, snapshot, leaves, music, shown topmost.
  bool Start();
  [[noreturn]] void RunAnimation();
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  bool CreateHiddenWindow();
  void TakeSnapshot();
  void SetUpLeaves();
  void StartMusic();
  void ShowTopmost();

  const PixelBuffer& Frame() const { return scene_ ? scene_->frame() : snapshot_; }
  void RunOnePass();
  void Present(std::span<const Rect> dirty);
  void ServePendingMessages();
  void Respond(const saver::SaverInput& input);
  void OnTimer(UINT_PTR id);
  [[noreturn]] void ExitSaver();

  StartContext& context_;
  Settings& settings_;
  int width_ = 0;
  int height_ = 0;
  HDC dc_ = nullptr;             // the window's own DC (CS_OWNDC), kept for the whole run
  PixelBuffer snapshot_;         // shown alone when there is no scene
  std::optional<saver::LeafScene> scene_;
  std::unique_ptr<music::MciPort> musicPort_;
  std::optional<music::SaverMusic> music_;
  bool cdPollTimerOn_ = false;
  bool running_ = false;
  std::vector<uint8_t> regionData_;  // reused RGNDATA buffer for the dirty region
};

uint64_t SeedNow() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return saver::SeedFromTimeOfDay(t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

int64_t ClockNow() {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

int64_t ClockFrequency() {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart > 0 ? frequency.QuadPart : 1000;  // never 0 on XP and later; be safe
}

// The steps of an exit plan that give the system back what start-up took (the CD poll aside, which
// belongs to the window), in the plan's order.
void GiveBackSystemState(const saver::ExitPlan& plan, StartContext& context) {
  if (plan.allowSystemKeys) AllowSystemKeys(true);
  if (plan.showCursor) context.savedCursorCount = ShowCursor(TRUE);
  if (plan.reactivateSystemSaver) SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
}

bool SaverWindow::Start() {
  if (!CreateHiddenWindow()) return false;
  TakeSnapshot();
  SetUpLeaves();
  StartMusic();
  ShowTopmost();
  return true;
}

// A borderless window over the primary screen, created hidden so the snapshot cannot see it.
bool SaverWindow::CreateHiddenWindow() {
  WNDCLASSEXW wc{};
  wc.style = CS_OWNDC;  // one DC for the whole run: no GetDC per pass
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);  // seen only when start-up did not hide the cursor
  wc.hbrBackground = nullptr;                    // every pixel is painted from the frame
  if (!RegisterClassOnce(context_.instance, kSaverClass, wc)) return false;
  width_ = GetSystemMetrics(SM_CXSCREEN);
  height_ = GetSystemMetrics(SM_CYSCREEN);
  if (!CreateAs(kSaverClass, kSaverCaption, WS_POPUP, 0, 0, 0, width_, height_, nullptr, nullptr,
                context_.instance)) {
    return false;
  }
  dc_ = GetDC(hwnd());
  return true;
}

// The desktop exactly as captured, through the desktop's DC; black when it cannot be captured.
void SaverWindow::TakeSnapshot() {
  if (HDC desktop = GetDC(GetDesktopWindow())) {
    snapshot_ = CapturePixels(desktop, {0, 0, width_, height_});
    ReleaseDC(GetDesktopWindow(), desktop);
  }
  if (snapshot_.width() != width_ || snapshot_.height() != height_) {
    snapshot_ = PixelBuffer(width_, height_, Rgb(0, 0, 0));  // no snapshot: leaves over black
  }
}

// The leaves. Without the sprites the bare snapshot is shown until the user ends the saver.
void SaverWindow::SetUpLeaves() {
  std::optional<saver::SpriteSet> sprites = LoadEmbeddedSprites();
  if (!sprites) return;
  try {
    scene_.emplace(snapshot_, std::move(*sprites), settings_.leafCount,
                   std::make_unique<saver::SeededRandom>(SeedNow()));
    snapshot_ = PixelBuffer{};  // the scene has its own copy
  } catch (const std::exception&) {
    scene_.reset();  // out of memory for a huge leaf table: the bare snapshot still ends on input
  }
}

// The music, and the poll timers it asks for.
void SaverWindow::StartMusic() {
  musicPort_ = music::MakeWinmmPort();
  music_.emplace(*musicPort_, settings_);
  const music::SaverMusic::Timers timers = music_->Start();
  if (timers.mp3PollTimer) SetTimer(hwnd(), kMp3PollTimer, music::kMp3PollIntervalMs, nullptr);
  if (timers.cdPollTimer) cdPollTimerOn_ = SetTimer(hwnd(), kCdPollTimer, music::kCdPollIntervalMs, nullptr) != 0;
}

// Shown in the normal state, then topmost without moving, sizing or activating it.
void SaverWindow::ShowTopmost() {
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  // Keys go to the focused window only; a window that was shown but never activated (as under a
  // system without a window manager) would never hear the key that should end it.
  SetForegroundWindow(hwnd());
  SetFocus(hwnd());
  UpdateWindow(hwnd());  // the snapshot appears at once, before the first pass
}

void SaverWindow::RunAnimation() {
  timeBeginPeriod(kTimerResolutionMs);  // the process's end gives it back
  saver::PassClock clock(ClockFrequency(), ClockNow());
  running_ = true;
  while (running_) {
    if (scene_) {
      const int due = clock.TakeDuePasses(ClockNow());
      for (int i = 0; i < due; ++i) RunOnePass();
    }
    // Timers, keys and clicks are served here only, between passes, never while a frame is built.
    ServePendingMessages();
    // A still snapshot has nothing to pace: sleep until a message comes.
    const DWORD wait = scene_ ? clock.MillisecondsUntilNextPass(ClockNow()) : INFINITE;
    if (wait > 0) MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  ExitSaver();  // nothing clears running_ but ExitSaver, which does not return
}

void SaverWindow::RunOnePass() {
  const std::span<const Rect> dirty = scene_->RunPass();
  if (!dirty.empty()) Present(dirty);
}

// One transfer of the dirty region's bounding box with the region selected as the clip: the screen
// goes from one whole frame to the next in a single GDI call.
void SaverWindow::Present(std::span<const Rect> dirty) {
  const std::vector<Rect> region = saver::PresentRegion(dirty, {0, 0, width_, height_});
  Rect bounds;
  for (const Rect& r : region) bounds = Union(bounds, r);
  if (bounds.empty()) return;

  regionData_.resize(sizeof(RGNDATAHEADER) + region.size() * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(regionData_.data());
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = static_cast<DWORD>(region.size());
  data->rdh.nRgnSize = static_cast<DWORD>(region.size() * sizeof(RECT));
  data->rdh.rcBound = {bounds.x, bounds.y, bounds.right(), bounds.bottom()};
  auto* rects = reinterpret_cast<RECT*>(data->Buffer);
  for (size_t i = 0; i < region.size(); ++i) {
    const Rect& r = region[i];
    rects[i] = {r.x, r.y, r.right(), r.bottom()};
  }
  HRGN clip = ExtCreateRegion(nullptr, static_cast<DWORD>(regionData_.size()), data);
  if (clip) SelectClipRgn(dc_, clip);  // without a region the box is copied whole: still correct
  PresentPixels(dc_, Frame(), bounds);
  if (clip) {
    SelectClipRgn(dc_, nullptr);
    DeleteObject(clip);
  }
}

void SaverWindow::ServePendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) ExitSaver();  // nothing of ours posts it: the system wants us gone
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void SaverWindow::Respond(const saver::SaverInput& input) {
  if (saver::RespondTo(input, *music_) == saver::InputResponse::EndSaver) ExitSaver();
}

void SaverWindow::OnTimer(UINT_PTR id) {
  if (id == kMp3PollTimer) {
    music_->OnMp3PollTimer();
  } else if (id == kCdPollTimer && cdPollTimerOn_) {
    if (!music_->OnCdPollTimer()) {  // the CD is unusable: polling stops for good
      KillTimer(hwnd(), kCdPollTimer);
      cdPollTimerOn_ = false;
    }
  }
}

void SaverWindow::ExitSaver() {
  const saver::ExitPlan plan = saver::PlanExit(context_.modeLetter, cdPollTimerOn_);
  if (plan.stopCdPolling) {
    KillTimer(hwnd(), kCdPollTimer);
    cdPollTimerOn_ = false;
  }
  music_->StopForExit(plan.stopCdPolling);
  GiveBackSystemState(plan, context_);
  running_ = false;
  // Ending the process takes the window with it; destroying it first would only delay the exit (a
  // window system may wait for the hidden window to be withdrawn).
  ExitProcess(0);
}

LRESULT SaverWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  using Kind = saver::SaverInput::Kind;
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:  // Alt and F10 must end the saver too, not open a window menu
      Respond({Kind::KeyDown, static_cast<int>(wp)});
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      Respond({Kind::ButtonDown});
      return 0;
    case WM_XBUTTONDOWN:
      Respond({Kind::ButtonDown});
      return TRUE;
    case WM_MOUSEMOVE:
      Respond({Kind::PointerMoved});
      return 0;
    case WM_TIMER:
      OnTimer(wp);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the frame covers every pixel; erasing would flash
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      PresentPixels(dc, Frame(), {0, 0, width_, height_});
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_SYSCOMMAND:
      // The system's idle timer may ask again while we run: one saver is enough.
      if ((wp & 0xFFF0) == SC_SCREENSAVE) return 0;
      break;
    case WM_CLOSE:  // the system closes us (log-off, a desktop switch): give back what start-up took
    case WM_DESTROY:
      ExitSaver();
  }
  return DefaultHandling(msg, wp, lp);
}

}  // namespace

void RunSaver(StartContext& context, Settings& settings) {
  SaverWindow window(context, settings);  // lives until the process ends inside ExitSaver
  if (!window.Start()) {
    // No window: nothing is on screen, but the system state start-up changed is still given back.
    GiveBackSystemState(saver::PlanExit(context.modeLetter, false), context);
    ExitProcess(0);
  }
  window.RunAnimation();
}

}  // namespace kovaren::win32
