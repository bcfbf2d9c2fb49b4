#include "settings_dialog/dialog_canvas_win32.h"

#include <algorithm>
#include <string>

#include "platform/resources_win32.h"
#include "platform/text_win32.h"
#include "settings_dialog/backdrop.h"
#include "settings_dialog/dialog_layout.h"

namespace kovaren::win32 {
namespace {

using namespace kovaren::dialog;

constexpr wchar_t kFontName[] = L"ＭＳ Ｐゴシック";
// 9.75 pt at the 96 dpi the layout is measured in: 13 pixels of character height.
constexpr int kFontPixels = 13;

constexpr wchar_t kMusicHeadingText[] = L"BGM";
constexpr const wchar_t* kOptionText[bgm::kKindCount] = {L"無し", L"音楽CD", L"MP3、WAV"};
constexpr wchar_t kRepeatCaptionText[] = L"曲目をﾘﾋﾟｰﾄ";
constexpr wchar_t kCountHeadingText[] = L"落葉の数";
constexpr wchar_t kCreditText[] = L"Kovaren  (c) the Kovaren developers";

RECT ToRECT(const Rect& r) { return {r.x, r.y, r.right(), r.bottom()}; }

}  // namespace

DialogFonts MakeDialogFonts(HWND dialog) {
  FontRequest request;
  request.face = kFontName;
  request.pixelHeight = kFontPixels;
  HDC dc = GetDC(dialog);
  DialogFonts fonts;
  fonts.text = MakeFont(dc, request);
  request.underline = true;
  fonts.underlined = MakeFont(dc, request);
  ReleaseDC(dialog, dc);
  return fonts;
}

DialogCanvas::DialogCanvas(int width, int height)
    : canvas_(nullptr, width, height),
      backdrop_(ComposeBackdrop(width, height, ResourcePicture(L"DIALOG_STRIP").value_or(PixelBuffer{}))),
      markOff_(ResourcePicture(L"DIALOG_MARK_OFF")),
      markOn_(ResourcePicture(L"DIALOG_MARK_ON")) {}

void DialogCanvas::Compose(const DialogControls& controls, const DialogFonts& fonts) {
  if (!canvas_) return;
  PixelBuffer frame = backdrop_;
  for (int kind = 0; kind < bgm::kKindCount; ++kind) {
    const std::optional<PixelBuffer>& mark = controls.optionOn[kind] ? markOn_ : markOff_;
    const Rect at = InClient(kOptionMark[kind]);
    if (mark) Blit(frame, at.x, at.y, *mark, RasterOp::Copy);
  }
  GdiFlush();  // GDI may still be drawing the last texts into the pixels
  const size_t count = std::min(frame.pixels().size(), canvas_.pixels().size());
  std::copy_n(frame.pixels().begin(), count, canvas_.pixels().begin());
  DrawTexts(controls, fonts);
}

void DialogCanvas::DrawTexts(const DialogControls& controls, const DialogFonts& fonts) {
  HDC dc = canvas_.dc();
  const HGDIOBJ oldFont = SelectObject(dc, fonts.text.get());
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
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  label(InClient(kMusicHeading), kMusicHeadingText, DT_CENTER | DT_WORDBREAK);
  for (int kind = 0; kind < bgm::kKindCount; ++kind) label(InClient(kOptionCaption[kind]), kOptionText[kind], DT_LEFT);
  label(InClient(kRepeatCaption), kRepeatCaptionText, DT_LEFT);
  label(InClient(kCountHeading), kCountHeadingText, DT_CENTER | DT_WORDBREAK);
  label(InClient(kCountLabel), WideFromCp932(controls.countLabel), DT_RIGHT);

  // The file name: a thin sunken border, the path wrapped over two lines (also inside a long name).
  RECT fileBox = ToRECT(InClient(kFileName));
  DrawEdge(dc, &fileBox, BDR_SUNKENOUTER, BF_RECT);
  InflateRect(&fileBox, -2, -1);
  const std::wstring file = WideFromCp932(controls.fileLabel);
  DrawTextW(dc, file.c_str(), static_cast<int>(file.size()), &fileBox,
            DT_LEFT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);

  SetTextColor(dc, RGB(255, 255, 255));
  label(kCredit, kCreditText, DT_LEFT);
  SelectObject(dc, fonts.underlined.get());
  label(kUrl, kWebAddress, DT_LEFT);
  SelectObject(dc, oldFont);
}

void DialogCanvas::Paint(HDC dc, const RECT& area) const {
  if (!canvas_) return;
  BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, canvas_.dc(), area.left, area.top,
         SRCCOPY);
}

}  // namespace kovaren::win32
