// Picture files for the headless renderer: PNG in and out (libpng), animated GIF out (giflib) with a
// palette fitted to the background plus the three exact leaf colours.
#pragma once
#include <memory>
#include <optional>
#include <string>

#include "gfx/pixel_buffer.h"

namespace kovaren::render {

std::optional<PixelBuffer> ReadPng(const std::string& path);
bool WritePng(const std::string& path, const PixelBuffer& picture);

// Writes frames of one size as they come. The palette is fitted to `background` once; pixels that
// differ from it map to the nearest palette entry (the leaf colours are in the palette exactly).
// Frames after the first hold only the changed box, the rest transparent, so the file stays small.
class GifWriter {
 public:
  GifWriter();
  ~GifWriter();
  bool Open(const std::string& path, const PixelBuffer& background, int delayCentiseconds);
  bool Add(const PixelBuffer& frame);
  bool Close();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace kovaren::render
