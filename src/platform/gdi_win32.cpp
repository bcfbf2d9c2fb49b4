#include "platform/gdi_win32.h"

#include <algorithm>

#include "platform/dib_canvas_win32.h"

namespace kovaren::win32 {

BITMAPINFO TopDownDib32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: rows top to bottom, as in PixelBuffer
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;     // BGRX in memory == 0x00RRGGBB little-endian
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

void PresentPixels(HDC dc, ConstPixelView picture, const Rect& area, POINT origin) {
  const Rect r = Intersect(area, picture.bounds());
  if (r.empty()) return;
  // Hand over only the rows of the area, so the source row is 0 whatever the DIB orientation rules say.
  const BITMAPINFO info = TopDownDib32(picture.stride(), r.h);
  SetDIBitsToDevice(dc, origin.x + r.x, origin.y + r.y, static_cast<DWORD>(r.w), static_cast<DWORD>(r.h), r.x, 0, 0,
                    static_cast<UINT>(r.h), picture.row(r.y), &info, DIB_RGB_COLORS);
}

PixelBuffer CapturePixels(HDC dc, const Rect& area) {
  if (area.empty()) return {};
  const DibCanvas canvas(dc, area.w, area.h);
  if (!canvas || !BitBlt(canvas.dc(), 0, 0, area.w, area.h, dc, area.x, area.y, SRCCOPY)) return {};
  GdiFlush();
  PixelBuffer picture(area.w, area.h);
  const std::span<const Pixel> copied = canvas.pixels();
  std::copy(copied.begin(), copied.end(), picture.pixels().begin());
  for (Pixel& p : picture.pixels()) p &= 0x00FFFFFFu;
  return picture;
}

}  // namespace kovaren::win32
