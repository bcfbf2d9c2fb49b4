// Folder src/saver owns the full-screen saver. Its portable core, which every shell runs: the leaf
// model (leaf.h), the sprites (sprites.h; the Linux program's built in, built_in_pictures.h), the
// scene that composes each pass (leaf_scene.h), pacing (pass_clock.h), the monitor plan and its
// re-planning (monitor_plan.h, monitor_replan.h), the scene set over every monitor (monitor_scenes.h),
// the clip region and groups of a present (present_region.h), whether anybody sees it
// (visibility.h), what input and exit mean (saver_input.h; for the X11 program hack_ending.h, with
// its options and backdrop, hack_options.h and hack_backdrop.h). Each shell's files carry its suffix
// and build only in its program:
//   _win32  the monitors, the sprites' resources, the screen of scenes (saver_screen_win32.h),
//           presenting, what the system says about visibility, and the window (this file);
//   _x11    the run and its loop (saver_x11.cpp), the window it draws in (hack_window_x11.h), its
//           scenes (hack_scenes_x11.h), what each event does (hack_events_x11.h), the monitors, the
//           daemon's screenshot (desktop_image_x11.h) and presenting (presenter_x11.h);
//   _wayland the Wayland shell's, named the same way.
//
// The full-screen saver window (class and caption "Tesmar_Main"): a borderless topmost popup over the
// whole virtual screen (every monitor) showing the desktop snapshot with the leaves falling over it,
// one scene per monitor, paced at a fixed pass rate, ended by a key or a click. The leaves, the
// compositing, the monitor plan and every decision live in the portable core; this file paces and
// routes messages, and SaverScreen takes the snapshot and presents.
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/system_keys_win32.h"
#include "platform/window_win32.h"
#include "music/saver_music.h"
#include "music/winmm_port_win32.h"
#include "saver/leaf.h"
#include "saver/monitor_plan.h"
#include "saver/pass_clock.h"
#include "saver/saver_input.h"
#include "saver/saver_screen_win32.h"
#include "saver/saver_win32.h"
#include "saver/sprites_win32.h"
#include "saver/visibility_win32.h"

namespace kovaren::win32 {
namespace {

// Window timer ids of the two music polls.
constexpr UINT_PTR kMp3PollTimer = 1;
constexpr UINT_PTR kCdPollTimer = 2;
// Sleep granularity while the saver runs: without it a 17 ms wait can last 31 ms on Windows, and
// passes would arrive in pairs.
constexpr UINT kTimerResolutionMs = 1;
// Measured end to end under Wine (bench/present_cpu.sh), against the whole-frame loop. At 1080p and
// scale 1 one clipped transfer costs 31 % with 101 leaves, 59 % with 501; flushed groups cost a
// little less in all (28 %, 54 %), but more in the saver's own process, which must stay light. At
// 4K and scale 2 flushed groups cost 21 % against 24 %: the X server no longer copies a box round
// all leaves of a large screen.
constexpr PresentMethod kPresentAtScale1 = PresentMethod::ClippedBox;
constexpr PresentMethod kPresentMagnified = PresentMethod::FlushedGroups;
// Sent when the window's monitor changes its DPI: the screens are planned again, as after a display
// change, rather than the window taking the rectangle the message suggests (it covers every
// monitor). (Named here: the SDK declares it for Windows 8.1 and later only.)
constexpr UINT kDpiChangedMessage = 0x02E0;

class SaverWindow final : public Window<SaverWindow> {
 public:
  SaverWindow(StartContext& context, const saver::TakenAtStart& taken, Settings& settings)
      : context_(context), taken_(taken), settings_(settings) {}

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

  void ServePendingMessages();
  void OnVisibility(bool resumed);
  void OnScreensChanged();
  void Respond(const saver::SaverInput& input);
  void OnTimer(UINT_PTR id);
  LRESULT PassCountReply() const;
  [[noreturn]] void ExitSaver();

  StartContext& context_;
  saver::TakenAtStart taken_;  // what start-up took from the system, given back at exit
  Settings& settings_;
  saver::MonitorPlan plan_;      // where the window goes and which scenes it runs
  HDC dc_ = nullptr;             // the window's own DC (CS_OWNDC), kept for the whole run
  std::optional<SaverScreen> screen_;
  std::unique_ptr<music::MciPort> musicPort_;
  std::optional<music::SaverMusic> music_;
  bool cdPollTimerOn_ = false;
  bool running_ = false;
  std::optional<VisibilityFeed> visibility_;  // nobody sees the screen: no passes, nothing presented
  bool resumed_ = false;                      // seen again: restart the clock, present everything once
  UINT passCountMessage_ = 0;                 // 0 when it could not be registered: nobody can ask
  uint64_t passesRun_ = 0;                    // what a soak run asks for
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
  passCountMessage_ = RegisterWindowMessageW(kPassCountMessageName);
  if (!CreateHiddenWindow()) return false;
  TakeSnapshot();
  SetUpLeaves();
  StartMusic();
  ShowTopmost();
  return true;
}

// A borderless window over every monitor, created hidden so the snapshot cannot see it.
bool SaverWindow::CreateHiddenWindow() {
  WNDCLASSEXW wc{};
  wc.style = CS_OWNDC;  // one DC for the whole run: no GetDC per pass
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);  // seen only when start-up did not hide the cursor
  wc.hbrBackground = nullptr;                    // every pixel is painted from the frame
  if (!RegisterClassOnce(context_.instance, kSaverClass, wc)) return false;
  plan_ = PlanScreens();
  const Rect& area = plan_.window;
  if (!CreateAs(kSaverClass, kSaverCaption, WS_POPUP, 0, area.x, area.y, area.w, area.h, nullptr, nullptr,
                context_.instance)) {
    return false;
  }
  dc_ = GetDC(hwnd());
  visibility_.emplace(hwnd());
  return true;
}

// The desktop exactly as captured, one part per monitor; black when it cannot be captured.
void SaverWindow::TakeSnapshot() { screen_.emplace(plan_, kPresentAtScale1, kPresentMagnified); }

// The leaves, one scene per monitor at its scale. Without the sprites the bare snapshot is shown
// until the user ends the saver.
void SaverWindow::SetUpLeaves() { screen_->StartLeaves(LoadEmbeddedSprites(), settings_.leafCount, SeedNow()); }

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
    // Asked every time round: a change of screens may start scenes or end them all.
    const bool drawing = screen_->animated() && visibility_->seen();
    if (resumed_) {
      // Passes go on from where they stopped: the pause owes none, and the screen may have been
      // anything meanwhile, so all of it is presented once.
      resumed_ = false;
      clock.Restart(ClockNow());
      screen_->Paint(dc_);
    }
    if (drawing) {
      const int due = clock.TakeDuePasses(ClockNow());
      for (int i = 0; i < due; ++i) screen_->RunPass(dc_);
      passesRun_ += static_cast<uint64_t>(due);
    }
    // Timers, keys and clicks are served here only, between passes, never while a frame is built.
    ServePendingMessages();
    // A still snapshot, or a screen nobody sees, has nothing to pace: sleep until a message comes.
    const DWORD wait = resumed_                                        ? 0
                       : (screen_->animated() && visibility_->seen()) ? clock.MillisecondsUntilNextPass(ClockNow())
                                                                      : INFINITE;
    if (wait > 0) MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  ExitSaver();  // nothing clears running_ but ExitSaver, which does not return
}

void SaverWindow::ServePendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) ExitSaver();  // nothing of ours posts it: the system wants us gone
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void SaverWindow::OnVisibility(bool resumed) { resumed_ = resumed_ || resumed; }

// The window covers the new virtual screen; which scenes go on, start or end is the screen's plan.
void SaverWindow::OnScreensChanged() {
  const saver::MonitorPlan after = PlanScreens();
  screen_->Replan(after);
  plan_ = after;
  SetWindowPos(hwnd(), HWND_TOPMOST, after.window.x, after.window.y, after.window.w, after.window.h, SWP_NOACTIVATE);
  // Everything once, as when seen again; a screen nobody sees gets it on resuming.
  if (visibility_->seen()) screen_->Paint(dc_);
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

LRESULT SaverWindow::PassCountReply() const {
  return static_cast<LRESULT>(static_cast<uint32_t>(passesRun_));
}

void SaverWindow::ExitSaver() {
  const saver::ExitPlan plan = saver::PlanExit(taken_, cdPollTimerOn_);
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
  // A registered message has no case label; WM_NULL (0) must not pass for it.
  if (passCountMessage_ != 0 && msg == passCountMessage_) return PassCountReply();
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
      if (screen_) screen_->Paint(dc);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_POWERBROADCAST:
      if (visibility_) OnVisibility(visibility_->OnPowerBroadcast(wp, lp));
      return TRUE;
    case WM_WTSSESSION_CHANGE:
      if (visibility_) OnVisibility(visibility_->OnSessionChange(wp));
      return 0;
    case WM_DISPLAYCHANGE:
    case kDpiChangedMessage:
      if (screen_) OnScreensChanged();
      return 0;
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

void RunSaver(StartContext& context, const saver::TakenAtStart& taken, Settings& settings) {
  SaverWindow window(context, taken, settings);  // lives until the process ends inside ExitSaver
  if (!window.Start()) {
    // No window: nothing is on screen, but the system state start-up changed is still given back.
    GiveBackSystemState(saver::PlanExit(taken, false), context);
    ExitProcess(0);
  }
  window.RunAnimation();
}

}  // namespace kovaren::win32
