#include "gfx/bmp.h"

#include <cstring>
#include <limits>

#include "gfx/little_endian.h"

namespace kovaren {

std::vector<uint8_t> EncodeBmp24(const PixelBuffer& picture) {
  const size_t rowBytes = (static_cast<size_t>(picture.width()) * 3 + 3) & ~size_t{3};
  const size_t imageBytes = rowBytes * static_cast<size_t>(picture.height());
  std::vector<uint8_t> out(kBmpHeaderBytes + imageBytes, 0);
  out[0] = 'B';
  out[1] = 'M';
  StoreLe32(out, 2, static_cast<uint32_t>(out.size()));
  StoreLe32(out, 10, kBmpHeaderBytes);
  StoreLe32(out, 14, 40);
  StoreLe32(out, 18, static_cast<uint32_t>(picture.width()));
  StoreLe32(out, 22, static_cast<uint32_t>(picture.height()));
  StoreLe16(out, 26, 1);   // planes
  StoreLe16(out, 28, 24);  // bits per pixel
  StoreLe32(out, 34, static_cast<uint32_t>(imageBytes));
  for (int y = 0; y < picture.height(); ++y) {
    uint8_t* dst = out.data() + kBmpHeaderBytes + rowBytes * static_cast<size_t>(picture.height() - 1 - y);
    const Pixel* src = picture.row(y);
    for (int x = 0; x < picture.width(); ++x) {
      dst[3 * x] = BlueOf(src[x]);
      dst[3 * x + 1] = GreenOf(src[x]);
      dst[3 * x + 2] = RedOf(src[x]);
    }
  }
  return out;
}

std::optional<PixelBuffer> DecodeBmp(std::span<const uint8_t> file) {
  if (file.size() < kBmpHeaderBytes || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const uint32_t offset = LoadLe32(file, 10);
  const uint32_t infoSize = LoadLe32(file, 14);
  if (infoSize < 40) return std::nullopt;
  const auto width = static_cast<int32_t>(LoadLe32(file, 18));
  const auto rawHeight = static_cast<int32_t>(LoadLe32(file, 22));
  const uint16_t bits = LoadLe16(file, 28);
  const uint32_t compression = LoadLe32(file, 30);
  if (width <= 0 || rawHeight == 0 || rawHeight == std::numeric_limits<int32_t>::min()) return std::nullopt;
  if ((bits != 24 && bits != 32) || (compression != 0 && !(compression == 3 && bits == 32))) return std::nullopt;
  const bool bottomUp = rawHeight > 0;
  const int height = bottomUp ? rawHeight : -rawHeight;
  if (width > 32768 || height > 32768) return std::nullopt;
  const size_t bytesPerPixel = bits / 8;
  const size_t rowBytes = (static_cast<size_t>(width) * bytesPerPixel + 3) & ~size_t{3};
  // In 64 bits: on a 32-bit target 32768 rows of 32768 32-bit pixels would wrap round to 0 bytes.
  const uint64_t imageBytes = uint64_t{rowBytes} * static_cast<uint64_t>(height);
  if (offset > file.size() || file.size() - offset < imageBytes) return std::nullopt;
  PixelBuffer picture(width, height);
  for (int y = 0; y < height; ++y) {
    const int fileRow = bottomUp ? height - 1 - y : y;
    const uint8_t* src = file.data() + offset + rowBytes * static_cast<size_t>(fileRow);
    Pixel* dst = picture.row(y);
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = src + bytesPerPixel * static_cast<size_t>(x);
      dst[x] = Rgb(p[2], p[1], p[0]);
    }
  }
  return picture;
}

}  // namespace kovaren
