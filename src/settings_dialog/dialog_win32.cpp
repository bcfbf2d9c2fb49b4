// The settings dialog (window class "Tesmar_P"): a small fixed window over a painted backdrop, with the leaf-count
// scroll bar, the music option group, the CD track combo box, the music file chooser and the save
// and cancel buttons. What it shows and writes is decided by DialogLogic; this file mirrors that
// model on screen, feeds the user's actions in and paints one retained image of everything drawn.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <array>
#include <cstring>
#include <optional>
#include <string>

#include "platform/gdi_win32.h"
#include "platform/resource_ids_win32.h"
#include "platform/resources_win32.h"
#include "settings_file/settings.h"
#include "settings_file/settings_places_win32.h"
#include "platform/text_win32.h"
#include "platform/window_win32.h"
#include "settings_dialog/zoom_win32.h"
#include "skin_button/button_win32.h"
#include "settings_dialog/backdrop.h"
#include "settings_dialog/dialog_layout.h"
#include "settings_dialog/dialog_logic.h"
#include "settings_dialog/dialog_canvas_win32.h"
#include "settings_dialog/music_file_chooser_win32.h"
#include "settings_dialog/dialog_controls_win32.h"
#include "settings_dialog/dialog_win32.h"

namespace kovaren::win32 {
namespace {

using namespace kovaren::dialog;

constexpr wchar_t kClassName[] = L"Tesmar_P";
// Told when "設定" could not store the settings; the path of the file follows on the next line.
constexpr wchar_t kSaveFailedText[] = L"設定を保存できませんでした。";
// Not the dialog's own caption: that one names the dialog to the instance guard and to anyone looking
// for the dialog's window, and a second window under it would make that lookup ambiguous.
constexpr wchar_t kSaveFailedCaption[] = L"Kovaren";

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;  // fixed, close box only

// The pointer over the web address: the program's own hand, else the system's.
HCURSOR HandPointer(HINSTANCE instance) {
  HCURSOR hand = LoadCursorW(instance, L"DIALOG_HAND");
  return hand ? hand : LoadCursorW(nullptr, IDC_HAND);
}

std::optional<ScreenPoint> CursorPosition() {
  POINT cursor{};
  if (!GetCursorPos(&cursor)) return std::nullopt;
  return ScreenPoint{cursor.x, cursor.y};
}

class SettingsDialog final : public Window<SettingsDialog> {
 public:
  SettingsDialog(HINSTANCE instance, Settings& settings) : instance_(instance), logic_(settings) {}

  // Creates the window hidden, loads the controls and zooms it open. False when the window could not
  // be created.
  bool Load();
  void RunModal();
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  // The steps of Load, in their order.
  bool RegisterAndPlace();
  void MakeFonts();
  void CreateControls();
  void MakeCanvas();
  void ZoomOpenFromCursor();

  void ShowModel();
  void Compose();
  void Paint();
  void Click(const Hit& hit);
  void OnScroll(WORD code);
  void ChooseMusicFile();
  void OpenWebAddress();
  void SaveAndClose();
  void TellSaveFailed(const FilePath& file);
  void Close();
  bool OverWebAddress() const;

  HINSTANCE instance_;
  DialogLogic logic_;
  DialogFonts fonts_;  // outlive the child windows that were handed them
  HCURSOR hand_ = nullptr;
  DialogCanvas canvas_;
  HWND combo_ = nullptr, scroll_ = nullptr, save_ = nullptr;
  HWND lastFocus_ = nullptr;
  Hit pressed_;  // what the left button went down on, so a click needs down and up on the same target
  bool closing_ = false;
};

bool SettingsDialog::Load() {
  if (!RegisterAndPlace()) return false;
  MakeFonts();
  hand_ = HandPointer(instance_);
  CreateControls();
  MakeCanvas();
  logic_.Load(CursorPosition());
  ShowModel();
  ZoomOpenFromCursor();
  return true;
}

// Registers the window class and creates the window hidden, centred across and a third of the free
// height down, at its outer size for the fixed client area.
bool SettingsDialog::RegisterAndPlace() {
  WNDCLASSEXW wc{};
  wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(KOVAREN_ICON_ID));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  if (!RegisterClassOnce(instance_, kClassName, wc)) return false;

  RECT outer{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&outer, kStyle, FALSE, 0);
  const int w = outer.right - outer.left, h = outer.bottom - outer.top;
  const Placement at = PlaceDialog(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), w, h);
  return CreateAs(kClassName, kDialogCaption, kStyle, 0, at.left, at.top, w, h, nullptr, nullptr, instance_) != nullptr;
}

void SettingsDialog::MakeFonts() { fonts_ = MakeDialogFonts(hwnd()); }

void SettingsDialog::CreateControls() {
  const DialogChildren children = CreateDialogControls(hwnd(), instance_, fonts_.text.get());
  combo_ = children.repeat;
  scroll_ = children.count;
  save_ = children.save;
}

// The retained image for the real client size (the same 460 x 214 unless the platform differs).
void SettingsDialog::MakeCanvas() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  canvas_ = DialogCanvas(client.right > 0 ? client.right : kClientWidth,
                         client.bottom > 0 ? client.bottom : kClientHeight);
}

// The logic took the zoom point from the cursor at load; the closing zoom returns to it.
void SettingsDialog::ZoomOpenFromCursor() { ZoomOpen(hwnd(), logic_.zoomPoint()); }

// Copies the logic's model into the child controls and the drawn parts.
void SettingsDialog::ShowModel() {
  ShowInControls(DialogChildren{combo_, scroll_, save_}, logic_.controls());
  Compose();
}

// Redraws the retained image and asks for it to be shown.
void SettingsDialog::Compose() {
  canvas_.Compose(logic_.controls(), fonts_);
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void SettingsDialog::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  if (!dc) return;
  canvas_.Paint(dc, ps.rcPaint);
  EndPaint(hwnd(), &ps);
}

void SettingsDialog::Click(const Hit& hit) {
  switch (hit.target) {
    case ClickTarget::Option:
      logic_.SelectOption(hit.option);
      Compose();
      break;
    case ClickTarget::WebAddress:
      OpenWebAddress();
      break;
    case ClickTarget::Nothing:
      break;
  }
}

void SettingsDialog::OnScroll(WORD code) {
  const std::optional<ScrollAction> action = ScrollActionOf(code);
  if (!action || !scroll_) return;
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_TRACKPOS;
  GetScrollInfo(scroll_, SB_CTL, &si);
  logic_.Scroll(*action, si.nTrackPos);
  SetScrollPos(scroll_, SB_CTL, logic_.controls().count.value, TRUE);
  Compose();
}

void SettingsDialog::ChooseMusicFile() {
  switch (logic_.ApplyFileChoice(AskForMusicFile(hwnd(), instance_))) {
    case FileChoice::Taken:
      Compose();
      break;
    case FileChoice::Refused:
      // The settings file cannot hold this path: the previous file stays, and the user hears why
      // nothing changed.
      MessageBeep(MB_ICONWARNING);
      break;
    case FileChoice::Unchanged:
      break;
  }
}

void SettingsDialog::OpenWebAddress() {
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  ShellExecuteW(hwnd(), L"open", kWebAddress, L"", L"", SW_SHOWNORMAL);  // no sign when it fails
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void SettingsDialog::SaveAndClose() {
  if (combo_) {
    const int n = GetWindowTextLengthW(combo_);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(combo_, text.data(), n + 1)));
    logic_.SetRepeatText(Cp932FromWide(text));
  }
  const SaveOutcome outcome =
      SaveSettingsFile(logic_.EntriesToSave(), ThisUsersSettingsPlaces(), PlatformFileSystem());
  if (!outcome.saved) {
    TellSaveFailed(outcome.file);  // the dialog stays open with every choice, to try again or cancel
    return;
  }
  Close();
}

void SettingsDialog::TellSaveFailed(const FilePath& file) {
  MessageBeep(MB_ICONWARNING);
  const std::wstring text = std::wstring(kSaveFailedText) + L"\r\n" + file.native();
  MessageBoxW(hwnd(), text.c_str(), kSaveFailedCaption, MB_OK | MB_ICONWARNING);
}

void SettingsDialog::Close() {
  if (closing_) return;
  closing_ = true;
  ZoomClose(hwnd(), logic_.zoomPoint());
  DestroyWindow(hwnd());
}

bool SettingsDialog::OverWebAddress() const {
  POINT p{};
  if (!GetCursorPos(&p) || !ScreenToClient(hwnd(), &p)) return false;
  return HitTest(p.x, p.y).target == ClickTarget::WebAddress;
}

LRESULT SettingsDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the retained image covers the whole client area
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == hwnd() && LOWORD(lp) == HTCLIENT) {
        SetCursor(OverWebAddress() && hand_ ? hand_ : LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      pressed_ = HitTest(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
      return 0;
    case WM_LBUTTONUP: {
      const Hit released = HitTest(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
      const Hit pressed = pressed_;
      pressed_ = {};
      if (released == pressed) Click(released);
      return 0;
    }
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lp) == scroll_) OnScroll(LOWORD(wp));
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kIdSave:
          if (HIWORD(wp) == BN_CLICKED) SaveAndClose();
          break;
        case kIdCancel:
          if (HIWORD(wp) == BN_CLICKED) Close();
          break;
        case kIdFileButton:
          if (HIWORD(wp) == BN_CLICKED) ChooseMusicFile();
          break;
        case IDCANCEL:  // Escape
          Close();
          break;
        default:
          break;
      }
      return 0;
    case WM_ACTIVATE:
      // Give the focus back to the control that had it when the dialog was left.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd(), focus)) lastFocus_ = focus;
      } else {
        SetFocus(lastFocus_ ? lastFocus_ : (save_ ? save_ : hwnd()));
      }
      return 0;
    case WM_CLOSE:  // the close box
      Close();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefaultHandling(msg, wp, lp);
}

void SettingsDialog::RunModal() {
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  UpdateWindow(hwnd());
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Tab and Shift+Tab move the focus between the controls, Escape cancels.
    if (hwnd() && IsDialogMessageW(hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

void RunSettingsDialog(const StartContext& context, Settings& settings) {
  SettingsDialog dialog(context.instance, settings);
  if (!dialog.Load()) return;
  dialog.RunModal();
}

}  // namespace kovaren::win32
