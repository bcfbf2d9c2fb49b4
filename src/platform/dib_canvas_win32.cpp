#include "platform/dib_canvas_win32.h"

#include <utility>

#include "platform/gdi_win32.h"

namespace kovaren::win32 {

DibCanvas::DibCanvas(HDC reference, int width, int height) {
  if (width <= 0 || height <= 0) return;
  const BITMAPINFO info = TopDownDib32(width, height);
  HDC screen = reference ? nullptr : GetDC(nullptr);
  HDC like = reference ? reference : screen;
  void* bits = nullptr;
  section_ = CreateDIBSection(like, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  dc_ = section_ ? CreateCompatibleDC(like) : nullptr;
  if (screen) ReleaseDC(nullptr, screen);
  if (!dc_) {
    Release();
    return;
  }
  oldBitmap_ = SelectObject(dc_, section_);
  bits_ = static_cast<Pixel*>(bits);
  width_ = width;
  height_ = height;
}

DibCanvas::~DibCanvas() { Release(); }

DibCanvas::DibCanvas(DibCanvas&& other) noexcept
    : dc_(std::exchange(other.dc_, nullptr)),
      section_(std::exchange(other.section_, nullptr)),
      oldBitmap_(std::exchange(other.oldBitmap_, nullptr)),
      bits_(std::exchange(other.bits_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

DibCanvas& DibCanvas::operator=(DibCanvas&& other) noexcept {
  if (this != &other) {
    Release();
    dc_ = std::exchange(other.dc_, nullptr);
    section_ = std::exchange(other.section_, nullptr);
    oldBitmap_ = std::exchange(other.oldBitmap_, nullptr);
    bits_ = std::exchange(other.bits_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
  }
  return *this;
}

void DibCanvas::Release() {
  if (dc_) {
    if (oldBitmap_) SelectObject(dc_, oldBitmap_);
    DeleteDC(dc_);
  }
  if (section_) DeleteObject(section_);
  dc_ = nullptr;
  section_ = nullptr;
  oldBitmap_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
}

}  // namespace kovaren::win32
