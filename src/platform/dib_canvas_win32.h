// A drawing surface whose pixels the program can reach: a top-down 32-bit DIB section (pixels as in
// PixelBuffer) selected into a memory DC. GDI draws into dc(), the program writes pixels(); call
// GdiFlush before touching the pixels after GDI drew. The canvas gives its DC's old bitmap back and
// frees both when it goes.
#pragma once
#include <windows.h>

#include <span>

#include "gfx/pixel_buffer.h"

namespace kovaren::win32 {

class DibCanvas {
 public:
  DibCanvas() = default;  // empty: no DC, no pixels
  // A canvas of width x height compatible with `reference` (null: the screen). Empty when the size is
  // empty or the system refuses any part.
  DibCanvas(HDC reference, int width, int height);
  ~DibCanvas();
  DibCanvas(DibCanvas&& other) noexcept;
  DibCanvas& operator=(DibCanvas&& other) noexcept;
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;

  explicit operator bool() const { return dc_ != nullptr; }
  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  std::span<Pixel> pixels() const { return {bits_, static_cast<size_t>(width_) * static_cast<size_t>(height_)}; }
  Pixel* row(int y) const { return bits_ + static_cast<size_t>(y) * static_cast<size_t>(width_); }

 private:
  void Release();

  HDC dc_ = nullptr;
  HBITMAP section_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  Pixel* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace kovaren::win32
