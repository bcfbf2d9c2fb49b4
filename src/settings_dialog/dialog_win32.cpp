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
#include "settings_dialog/dialog_win32.h"

namespace kovaren::win32 {
namespace {

using namespace kovaren::dialog;

constexpr wchar_t kClassName[] = L"Tesmar_P";
constexpr wchar_t kFontName[] = L"ＭＳ Ｐゴシック";
// 9.75 pt at the 96 dpi the layout is measured in: 13 pixels of character height.
constexpr int kFontPixels = 13;

constexpr wchar_t kMusicHeadingText[] = L"BGM";
constexpr const wchar_t* kOptionText[bgm::kKindCount] = {L"無し", L"音楽CD", L"MP3、WAV"};
constexpr wchar_t kRepeatCaptionText[] = L"曲目をﾘﾋﾟｰﾄ";
constexpr wchar_t kCountHeadingText[] = L"落葉の数";
constexpr wchar_t kFileButtonText[] = L"...";
constexpr wchar_t kSaveText[] = L"設定";
constexpr wchar_t kCancelText[] = L"ｷｬﾝｾﾙ";
constexpr wchar_t kCreditText[] = L"Kovaren  (c) the Kovaren developers";
constexpr wchar_t kWebAddress[] = L"http://kovaren.example/";
// One filter entry: description, pattern, each NUL-terminated, then the list's closing NUL (the
// literal's own terminator).
constexpr wchar_t kFileFilter[] = L"BGMﾌｧｲﾙ (MP3 WAV)\0*.MP3;*.WAV\0";
constexpr wchar_t kFileTitle[] = L"ﾌｧｲﾙを選択";
constexpr DWORD kFileBufferChars = 255;
// Told when "設定" could not store the settings; the path of the file follows on the next line.
constexpr wchar_t kSaveFailedText[] = L"設定を保存できませんでした。";
// Not the dialog's own caption: that one names the dialog to the instance guard and to anyone looking
// for the dialog's window, and a second window under it would make that lookup ambiguous.
constexpr wchar_t kSaveFailedCaption[] = L"Kovaren";

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;  // fixed, close box only
constexpr int kComboDropHeight = 200;  // the combo box's height with its list dropped down

enum ControlId : int {
  kIdRepeat = 101,
  kIdFileButton,
  kIdCount,
  kIdSave,
  kIdCancel,
};

RECT ToRECT(const Rect& r) { return {r.x, r.y, r.right(), r.bottom()}; }

std::optional<ScrollAction> ScrollActionOf(WORD code) {
  switch (code) {
    case SB_LINELEFT: return ScrollAction::LineLeft;
    case SB_LINERIGHT: return ScrollAction::LineRight;
    case SB_PAGELEFT: return ScrollAction::PageLeft;
    case SB_PAGERIGHT: return ScrollAction::PageRight;
    case SB_LEFT: return ScrollAction::ToMinimum;
    case SB_RIGHT: return ScrollAction::ToMaximum;
    case SB_THUMBTRACK:  // while dragging: the label follows the thumb
    case SB_THUMBPOSITION: return ScrollAction::Thumb;
    default: return std::nullopt;  // SB_ENDSCROLL
  }
}

class SettingsDialog final : public Window<SettingsDialog> {
 public:
  SettingsDialog(HINSTANCE instance, Settings& settings) : instance_(instance), logic_(settings) {}
  ~SettingsDialog();

  // Creates the window hidden, loads the controls and zooms it open. False when the window could not
  // be created.
  bool Load();
  void RunModal();
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void CreateControls();
  void ShowModel();
  void Compose();
  void DrawTexts(HDC dc);
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
  HFONT font_ = nullptr;
  HFONT underlinedFont_ = nullptr;
  HCURSOR hand_ = nullptr;
  PixelBuffer backdrop_;  // gradient and tiled panel, painted once
  std::optional<PixelBuffer> markOff_, markOn_;
  // The retained image of everything drawn (not the child windows): a DIB section in a memory DC.
  HDC canvasDc_ = nullptr;
  HBITMAP canvasBitmap_ = nullptr;
  HGDIOBJ canvasOld_ = nullptr;
  Pixel* canvasBits_ = nullptr;
  int canvasW_ = 0, canvasH_ = 0;
  HWND combo_ = nullptr, scroll_ = nullptr, save_ = nullptr;
  HWND lastFocus_ = nullptr;
  Hit pressed_;  // what the left button went down on, so a click needs down and up on the same target
  bool closing_ = false;
};

SettingsDialog::~SettingsDialog() {
  if (canvasDc_) {
    SelectObject(canvasDc_, canvasOld_);
    DeleteDC(canvasDc_);
  }
  if (canvasBitmap_) DeleteObject(canvasBitmap_);
  if (font_) DeleteObject(font_);
  if (underlinedFont_) DeleteObject(underlinedFont_);
}

bool SettingsDialog::Load() {
  WNDCLASSEXW wc{};
  wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(KOVAREN_ICON_ID));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  if (!RegisterClassOnce(instance_, kClassName, wc)) return false;

  RECT outer{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&outer, kStyle, FALSE, 0);
  const int w = outer.right - outer.left, h = outer.bottom - outer.top;
  const Placement at = PlaceDialog(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), w, h);
  if (!CreateAs(kClassName, kDialogCaption, kStyle, 0, at.left, at.top, w, h, nullptr, nullptr, instance_)) return false;

  font_ = CreateFontW(-kFontPixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kFontName);
  underlinedFont_ = CreateFontW(-kFontPixels, 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, SHIFTJIS_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, kFontName);
  hand_ = LoadCursorW(instance_, L"DIALOG_HAND");
  if (!hand_) hand_ = LoadCursorW(nullptr, IDC_HAND);
  markOff_ = ResourcePicture(L"DIALOG_MARK_OFF");
  markOn_ = ResourcePicture(L"DIALOG_MARK_ON");

  CreateControls();

  // The backdrop for the real client size (the same 460 x 214 unless the platform differs).
  RECT client{};
  GetClientRect(hwnd(), &client);
  canvasW_ = client.right > 0 ? client.right : kClientWidth;
  canvasH_ = client.bottom > 0 ? client.bottom : kClientHeight;
  backdrop_ = ComposeBackdrop(canvasW_, canvasH_, ResourcePicture(L"DIALOG_STRIP").value_or(PixelBuffer{}));
  const BITMAPINFO bi = TopDownDib32(canvasW_, canvasH_);
  HDC screen = GetDC(nullptr);
  canvasDc_ = CreateCompatibleDC(screen);
  void* bits = nullptr;
  canvasBitmap_ = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  canvasBits_ = static_cast<Pixel*>(bits);
  if (canvasDc_ && canvasBitmap_) canvasOld_ = SelectObject(canvasDc_, canvasBitmap_);

  POINT cursor{};
  const std::optional<ScreenPoint> cursorAt =
      GetCursorPos(&cursor) ? std::optional<ScreenPoint>(ScreenPoint{cursor.x, cursor.y}) : std::nullopt;
  logic_.Load(cursorAt);
  ShowModel();
  SetZoomPoint(logic_.zoomPoint());
  ZoomOpen(hwnd());
  return true;
}

void SettingsDialog::CreateControls() {
  // Created in the order Tab moves through them: the panel's controls left to right, then the buttons.
  const Rect combo = InClient(kRepeatCombo);
  // The box is narrow: without automatic scrolling it would stop taking keys at its visible width.
  constexpr DWORD kComboStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
  combo_ = CreateWindowExW(0, L"COMBOBOX", L"", kComboStyle,
                           combo.x, combo.y, combo.w, kComboDropHeight, hwnd(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdRepeat)), instance_, nullptr);

  RegisterSkinButtonClass(instance_);
  auto button = [&](int id, const wchar_t* caption, const Rect& r) {
    // The skin pictures are the program's own resources.
    HWND b = CreateSkinButton(hwnd(), id, caption, r.x, r.y, r.w, r.h, instance_, instance_);
    if (b) SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return b;
  };
  HWND fileButton = button(kIdFileButton, kFileButtonText, InClient(kFileButton));

  const Rect bar = InClient(kCountScroll);
  scroll_ = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | SBS_HORZ, bar.x, bar.y,
                            bar.w, bar.h, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdCount)),
                            instance_, nullptr);
  save_ = button(kIdSave, kSaveText, kSaveButton);
  HWND cancel = button(kIdCancel, kCancelText, kCancelButton);

  if (combo_) SendMessageW(combo_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  // Every skinned button starts its hover poll once all controls exist.
  for (HWND b : {cancel, save_, fileButton})
    if (b) InitializeSkinButton(b);
}

// Copies the logic's model into the child controls and the drawn parts.
void SettingsDialog::ShowModel() {
  const DialogControls& c = logic_.controls();
  if (scroll_) {
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_POS, c.count.minimum, c.count.maximum, 0, c.count.value, 0};
    SetScrollInfo(scroll_, SB_CTL, &si, TRUE);
  }
  if (combo_) {
    SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : c.repeatList) {
      const std::wstring text = WideFromCp932(entry);
      SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SetWindowTextW(combo_, WideFromCp932(c.repeatText).c_str());
  }
  Compose();
}

// Redraws the retained image: backdrop, option marks, frames and every label.
void SettingsDialog::Compose() {
  if (!canvasDc_ || !canvasBits_) return;
  PixelBuffer frame = backdrop_;
  const DialogControls& c = logic_.controls();
  for (int kind = 0; kind < bgm::kKindCount; ++kind) {
    const std::optional<PixelBuffer>& mark = c.optionOn[kind] ? markOn_ : markOff_;
    const Rect at = InClient(kOptionMark[kind]);
    if (mark) Blit(frame, at.x, at.y, *mark, RasterOp::Copy);
  }
  GdiFlush();
  std::memcpy(canvasBits_, frame.pixels().data(), frame.pixels().size_bytes());
  DrawTexts(canvasDc_);
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void SettingsDialog::DrawTexts(HDC dc) {
  const HGDIOBJ oldFont = SelectObject(dc, font_);
  SetBkMode(dc, TRANSPARENT);

  // The two heading frames: one-pixel outlines in the window-text colour.
  HBRUSH frameBrush = CreateSolidBrush(GetSysColor(COLOR_WINDOWTEXT));
  for (const Rect& r : {kMusicFrame, kCountFrame}) {
    const RECT frame = ToRECT(InClient(r));
    FrameRect(dc, &frame, frameBrush);
  }
  DeleteObject(frameBrush);

  // Single-line labels are not clipped to their nominal boxes: a substitute font a little wider than
  // the one the layout was made for must not cut the last characters off; there is room beside each.
  auto label = [&](const Rect& r, const std::wstring& text, UINT format) {
    RECT area = ToRECT(r);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, format | DT_NOPREFIX | DT_NOCLIP);
  };
  const DialogControls& c = logic_.controls();
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  label(InClient(kMusicHeading), kMusicHeadingText, DT_CENTER | DT_WORDBREAK);
  for (int kind = 0; kind < bgm::kKindCount; ++kind) label(InClient(kOptionCaption[kind]), kOptionText[kind], DT_LEFT);
  label(InClient(kRepeatCaption), kRepeatCaptionText, DT_LEFT);
  label(InClient(kCountHeading), kCountHeadingText, DT_CENTER | DT_WORDBREAK);
  label(InClient(kCountLabel), WideFromCp932(c.countLabel), DT_RIGHT);

  // The file name: a thin sunken border, the path wrapped over two lines (also inside a long name).
  RECT fileBox = ToRECT(InClient(kFileName));
  DrawEdge(dc, &fileBox, BDR_SUNKENOUTER, BF_RECT);
  InflateRect(&fileBox, -2, -1);
  const std::wstring file = WideFromCp932(c.fileLabel);
  DrawTextW(dc, file.c_str(), static_cast<int>(file.size()), &fileBox,
            DT_LEFT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);

  SetTextColor(dc, RGB(255, 255, 255));
  label(kCredit, kCreditText, DT_LEFT);
  SelectObject(dc, underlinedFont_);
  label(kUrl, kWebAddress, DT_LEFT);
  SelectObject(dc, oldFont);
}

void SettingsDialog::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  if (!dc) return;
  if (canvasDc_) {
    const RECT& r = ps.rcPaint;
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, canvasDc_, r.left, r.top, SRCCOPY);
  }
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
  std::array<wchar_t, kFileBufferChars> file{};
  std::array<wchar_t, kFileBufferChars> title{};
  // The record as it was before the later Windows additions: those fields stay out.
  OPENFILENAMEW ofn{};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  ofn.hwndOwner = hwnd();
  ofn.hInstance = instance_;
  ofn.lpstrFilter = kFileFilter;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = kFileBufferChars;
  ofn.lpstrFileTitle = title.data();
  ofn.nMaxFileTitle = kFileBufferChars;
  ofn.lpstrTitle = kFileTitle;
  ofn.Flags = 0;
  FileChooserAnswer answer;
  answer.chosen = GetOpenFileNameW(&ofn) > 0;
  if (answer.chosen) {
    const std::wstring path(file.data());
    answer.path = Cp932FromWide(path);
    answer.faithful = WideFromCp932(answer.path) == path;
  }
  switch (logic_.ApplyFileChoice(answer)) {
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
  ZoomClose(hwnd());
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
