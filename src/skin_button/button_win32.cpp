// The Win32 shell of the skinned button: decodes mouse, focus and timer messages into the core's
// events, paints the core's surface with the caption on top, and tells the parent about Clicks.
#include "skin_button/button_win32.h"

#include <array>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/dib_canvas_win32.h"
#include "platform/font_win32.h"
#include "platform/gdi_win32.h"
#include "platform/resources_win32.h"
#include "platform/window_win32.h"
#include "skin_button/button.h"

namespace kovaren::win32 {
namespace {

using skin_button::SkinButton;
using skin_button::FontSpec;
using skin_button::MouseButton;
using skin_button::Skin;

constexpr UINT_PTR kHoverPollTimer = 1;
constexpr UINT kHoverPollMilliseconds = 100;
// The private message behind InitializeSkinButton, sent only to a window of our class (its class
// name is checked first), so any number in the WM_USER range serves.
constexpr UINT kInitializeMessage = WM_USER + 0x4B;
// Font sizes are kept in hundredths of a point; a point is 1/72 inch.
constexpr int kHundredthsOfPointPerInch = 7200;
// A stored caption colour with the top bit set names a system colour (0x800000nn, nn the index), as
// hosts store them.
constexpr uint32_t kSystemColourFlag = 0x80000000u;
constexpr uint32_t kSystemColourIndexMask = 0xFFu;
constexpr uint32_t kColourRefMask = 0x00FFFFFFu;
// The skin pictures' resources are named "BUTTON_" and the picture's stem, upper-cased.
constexpr wchar_t kSkinResourcePrefix[] = L"BUTTON_";

std::optional<PixelBuffer> SkinPicture(HMODULE module, Skin skin) {
  return ResourcePicture(module, (kSkinResourcePrefix + ResourceName(skin_button::SkinFileStem(skin))).c_str());
}

skin_button::SkinSet LoadSkins(HMODULE skinResources) {
  std::array<PixelBuffer, skin_button::kSkinCount> pictures;
  for (int i = 0; i < skin_button::kSkinCount; ++i) {
    // A missing picture leaves that look without a rim: the gradient still shows.
    if (auto p = SkinPicture(skinResources, Skin(i))) pictures[i] = std::move(*p);
  }
  return skin_button::SkinSet(std::move(pictures));
}

// The caption font at the size `wanted` names on `dc`'s device.
OwnedFont MakeCaptionFont(const FontSpec& wanted, HDC dc) {
  FontRequest request;
  request.face = wanted.face;
  request.pixelHeight = MulDiv(wanted.sizeHundredthsPt, GetDeviceCaps(dc, LOGPIXELSY), kHundredthsOfPointPerInch);
  request.weight = wanted.weight;
  request.italic = wanted.italic;
  request.underline = wanted.underline;
  request.strikethrough = wanted.strikethrough;
  request.charset = static_cast<BYTE>(wanted.charset);
  request.pitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  return MakeFont(dc, request);
}

FontSpec SpecFromFont(HFONT font, HDC dc) {
  LOGFONTW lf{};
  FontSpec wanted = skin_button::DesignFont();
  if (!font || !GetObjectW(font, sizeof(lf), &lf)) return wanted;
  wanted.face = lf.lfFaceName;
  const int height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
  if (height) wanted.sizeHundredthsPt = MulDiv(height, kHundredthsOfPointPerInch, GetDeviceCaps(dc, LOGPIXELSY));
  wanted.weight = lf.lfWeight ? static_cast<int>(lf.lfWeight) : FW_NORMAL;
  wanted.italic = lf.lfItalic != 0;
  wanted.underline = lf.lfUnderline != 0;
  wanted.strikethrough = lf.lfStrikeOut != 0;
  wanted.charset = lf.lfCharSet;
  return wanted;
}

// The window owns itself (a child made through a C-style call has no other owner): the window base
// deletes it after its last message.
class SkinButtonWindow final : public Window<SkinButtonWindow>, private skin_button::SkinButtonSite {
 public:
  SkinButtonWindow(HMODULE skinResources, skin_button::ButtonSetup setup)
      : core_(*this, LoadSkins(skinResources), std::move(setup)) {}
  SkinButtonWindow(const SkinButtonWindow&) = delete;
  SkinButtonWindow& operator=(const SkinButtonWindow&) = delete;

  static HWND Create(HWND parent, int id, const wchar_t* caption, int x, int y, int w, int h, HINSTANCE instance,
                     HMODULE skinResources) {
    skin_button::ButtonSetup setup{.caption = caption ? caption : L""};
    return CreateSelfOwned(std::make_unique<SkinButtonWindow>(skinResources, std::move(setup)), kSkinButtonClassName,
                           caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance);
  }
  static bool Register(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    return RegisterClassOnce(instance, kSkinButtonClassName, wc);
  }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void OnCreate(const CREATESTRUCTW& create);
  void OnLeftUp();
  void OnOtherUp(MouseButton button);
  void Paint();
  void PaintCaption(HDC dc);
  void PaintParentBackground(HDC dc, const RECT& client);
  void UseFont(const FontSpec& wanted);
  void DeliverClick();

  // SkinButtonSite
  std::optional<ScreenPoint> CursorPosition() override {
    POINT p;
    if (!GetCursorPos(&p)) return std::nullopt;
    return ScreenPoint{p.x, p.y};
  }
  bool IsOwnWindowAt(ScreenPoint p) override { return WindowFromPoint(POINT{p.x, p.y}) == hwnd(); }
  void Refresh() override {
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
  }
  void Click() override { clickPending_ = true; }

  skin_button::SkinButton core_;
  OwnedFont font_;
  FontSpec fontSpec_;
  bool clickPending_ = false;
};

LRESULT SkinButtonWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      OnCreate(*reinterpret_cast<CREATESTRUCTW*>(lp));
      return 0;
    case kInitializeMessage:
      core_.Initialize();
      SetTimer(hwnd(), kHoverPollTimer, kHoverPollMilliseconds, nullptr);
      return 0;
    case WM_SIZE:
      core_.Resize(LOWORD(lp), HIWORD(lp));
      return 0;
    case WM_TIMER:
      if (wp == kHoverPollTimer) core_.PollTick();
      return 0;
    case WM_SETFOCUS:
      core_.GotFocus();
      return 0;
    case WM_KILLFOCUS:
      core_.LostFocus();
      return 0;
    case WM_ENABLE:
      core_.SetEnabled(wp != 0);
      return 0;
    case WM_LBUTTONDOWN:
      // A press is always over the button, but the platform may deliver it without a move first
      // (Wine folds a quick move into the press): report the arrival, or a focused button would take
      // the press for one dragged off and swallow the Click. Then focus (a click on a hovered button
      // shows Pressed from the focus change), then the capture, so a release dragged off still
      // reaches the button.
      core_.MouseMove();
      if (GetFocus() != hwnd()) SetFocus(hwnd());
      SetCapture(hwnd());
      core_.MouseDown(MouseButton::Left);
      return 0;
    case WM_RBUTTONDOWN:
      core_.MouseMove();
      core_.MouseDown(MouseButton::Right);
      return 0;
    case WM_MBUTTONDOWN:
      core_.MouseMove();
      core_.MouseDown(MouseButton::Middle);
      return 0;
    case WM_LBUTTONUP:
      OnLeftUp();
      return 0;
    case WM_RBUTTONUP:
      OnOtherUp(MouseButton::Right);
      return 0;
    case WM_MBUTTONUP:
      OnOtherUp(MouseButton::Middle);
      return 0;
    case WM_MOUSEMOVE: {
      // While the press holds the mouse, moves arrive from outside too; only moves over the button count.
      RECT client;
      GetClientRect(hwnd(), &client);
      const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (PtInRect(&client, p)) core_.MouseMove();
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd()) core_.CancelPress();
      return 0;
    case WM_GETDLGCODE: {
      // Enter is taken (and ignored) so a dialog does not turn it into a click; Tab still moves on.
      const auto* m = reinterpret_cast<const MSG*>(lp);
      if (m && (m->message == WM_KEYDOWN || m->message == WM_CHAR) && m->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
      return 0;
    }
    case WM_SETTEXT: {
      const LRESULT result = DefaultHandling(msg, wp, lp);
      core_.SetCaption(lp ? reinterpret_cast<const wchar_t*>(lp) : L"");
      return result;
    }
    case WM_SETFONT: {
      HDC dc = GetDC(hwnd());
      const FontSpec wanted = SpecFromFont(reinterpret_cast<HFONT>(wp), dc);
      ReleaseDC(hwnd(), dc);
      core_.SetFont(wanted);
      UseFont(wanted);
      if (LOWORD(lp)) InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    }
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_.get());
    case WM_ERASEBKGND:
      return 1;  // the whole client area is painted from the surface
    case WM_PAINT:
      Paint();
      return 0;
    case WM_NCDESTROY:
      KillTimer(hwnd(), kHoverPollTimer);
      return DefaultHandling(msg, wp, lp);
    default:
      return DefaultHandling(msg, wp, lp);
  }
}

void SkinButtonWindow::OnCreate(const CREATESTRUCTW& create) {
  core_.Resize(create.cx, create.cy);
  UseFont(core_.Font());
}

void SkinButtonWindow::OnLeftUp() {
  clickPending_ = false;
  core_.MouseUp(MouseButton::Left);
  // Give the mouse back before the parent hears of the Click: its handler may open a modal dialog.
  if (GetCapture() == hwnd()) ReleaseCapture();
  DeliverClick();
}

void SkinButtonWindow::OnOtherUp(MouseButton button) {
  clickPending_ = false;
  core_.MouseUp(button);
  DeliverClick();
}

void SkinButtonWindow::DeliverClick() {
  if (!clickPending_) return;
  clickPending_ = false;
  const HWND self = hwnd();
  const int id = GetDlgCtrlID(self);
  // The parent may destroy this button while handling the Click: nothing of `this` is used after.
  SendMessageW(GetParent(self), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(self));
}

void SkinButtonWindow::UseFont(const FontSpec& wanted) {
  if (font_ && wanted == fontSpec_) return;
  HDC dc = GetDC(hwnd());
  OwnedFont created = MakeCaptionFont(wanted, dc);
  ReleaseDC(hwnd(), dc);
  if (!created) return;  // keep the previous font
  font_ = std::move(created);
  fontSpec_ = wanted;
}

void SkinButtonWindow::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  RECT client;
  GetClientRect(hwnd(), &client);
  const int w = client.right, h = client.bottom;
  if (w > 0 && h > 0) {
    // Composed off screen so the caption never flickers over a bare surface.
    const DibCanvas canvas(dc, w, h);
    if (canvas) {
      if (core_.Visible()) {
        PresentPixels(canvas.dc(), core_.surface(), core_.surface().bounds());
      } else {
        PaintParentBackground(canvas.dc(), client);
      }
      PaintCaption(canvas.dc());
      BitBlt(dc, 0, 0, w, h, canvas.dc(), 0, 0, SRCCOPY);
    }
  }
  EndPaint(hwnd(), &ps);
}

void SkinButtonWindow::PaintParentBackground(HDC dc, const RECT& client) {
  // Transparent background: the parent's picture under the button shows through.
  const HWND parent = GetParent(hwnd());
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  POINT origin{0, 0};
  MapWindowPoints(hwnd(), parent, &origin, 1);
  POINT old;
  SetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

void SkinButtonWindow::PaintCaption(HDC dc) {
  const skin_button::CaptionLook look = core_.caption();
  if (look.text.empty()) return;
  HGDIOBJ oldFont = font_ ? SelectObject(dc, font_.get()) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  RECT box{look.box.x, look.box.y, look.box.right(), look.box.bottom()};
  constexpr UINT kFormat = DT_CENTER | DT_TOP | DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP;
  auto draw = [&](COLORREF colour, int dx, int dy) {
    RECT r = box;
    OffsetRect(&r, dx, dy);
    SetTextColor(dc, colour);
    DrawTextW(dc, look.text.c_str(), static_cast<int>(look.text.size()), &r, kFormat);
  };
  if (look.enabled) {
    const COLORREF colour = (look.colour & kSystemColourFlag)
                                ? GetSysColor(static_cast<int>(look.colour & kSystemColourIndexMask))
                                : (look.colour & kColourRefMask);
    draw(colour, 0, 0);
  } else {
    // The classic disabled label: a light shadow one pixel down-right under grey text.
    draw(GetSysColor(COLOR_3DHILIGHT), 1, 1);
    draw(GetSysColor(COLOR_GRAYTEXT), 0, 0);
  }
  if (oldFont) SelectObject(dc, oldFont);
}

}  // namespace

bool RegisterSkinButtonClass(HINSTANCE instance) { return SkinButtonWindow::Register(instance); }

HWND CreateSkinButton(HWND parent, int id, const wchar_t* caption, int x, int y, int w, int h, HINSTANCE instance,
                      HMODULE skinResources) {
  return SkinButtonWindow::Create(parent, id, caption, x, y, w, h, instance, skinResources);
}

void InitializeSkinButton(HWND button) {
  wchar_t name[std::size(kSkinButtonClassName) + 1] = {};  // room to tell a longer name apart
  if (!button || !GetClassNameW(button, name, static_cast<int>(std::size(name))) ||
      lstrcmpW(name, kSkinButtonClassName) != 0) {
    return;
  }
  SendMessageW(button, kInitializeMessage, 0, 0);
}

}  // namespace kovaren::win32
