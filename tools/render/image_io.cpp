// PNG through libpng's simplified API; GIF through giflib with a median-cut palette.
#include "render/image_io.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "saver/sprites.h"

namespace kovaren::render {

std::optional<PixelBuffer> ReadPng(const std::string& path) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return std::nullopt;
  PixelBuffer picture(static_cast<int>(image.width), static_cast<int>(image.height));
  for (size_t i = 0; i < picture.pixels().size(); ++i)
    picture.pixels()[i] = Rgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
  return picture;
}

bool WritePng(const std::string& path, const PixelBuffer& picture) {
  std::vector<uint8_t> rgb(picture.pixels().size() * 3);
  for (size_t i = 0; i < picture.pixels().size(); ++i) {
    const Pixel p = picture.pixels()[i];
    rgb[3 * i] = RedOf(p), rgb[3 * i + 1] = GreenOf(p), rgb[3 * i + 2] = BlueOf(p);
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width());
  image.height = static_cast<png_uint_32>(picture.height());
  image.format = PNG_FORMAT_RGB;
  return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
}

namespace {

constexpr int kTransparent = 255;
constexpr int kFittedColours = 255 - saver::kLeafColours;  // 252 for the background

// Median cut: split the box with the widest channel at its median until there are `count` boxes.
std::vector<Pixel> FitPalette(const PixelBuffer& picture, int count) {
  std::vector<Pixel> samples;
  const size_t step = std::max<size_t>(1, picture.pixels().size() / 200000);
  for (size_t i = 0; i < picture.pixels().size(); i += step) samples.push_back(picture.pixels()[i]);
  struct Box {
    size_t begin, end;
  };
  std::vector<Box> boxes{{0, samples.size()}};
  auto spread = [&](const Box& b, int shift) {
    int lo = 255, hi = 0;
    for (size_t i = b.begin; i < b.end; ++i) {
      const int v = (samples[i] >> shift) & 0xFF;
      lo = std::min(lo, v), hi = std::max(hi, v);
    }
    return hi - lo;
  };
  while (static_cast<int>(boxes.size()) < count) {
    size_t best = 0;
    int bestSpread = -1, bestShift = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].end - boxes[i].begin < 2) continue;
      for (int shift : {16, 8, 0}) {
        const int s = spread(boxes[i], shift);
        if (s > bestSpread) bestSpread = s, best = i, bestShift = shift;
      }
    }
    if (bestSpread <= 0) break;
    Box b = boxes[best];
    const size_t mid = (b.begin + b.end) / 2;
    std::nth_element(samples.begin() + b.begin, samples.begin() + mid, samples.begin() + b.end,
                     [&](Pixel x, Pixel y) { return ((x >> bestShift) & 0xFF) < ((y >> bestShift) & 0xFF); });
    boxes[best] = {b.begin, mid};
    boxes.push_back({mid, b.end});
  }
  std::vector<Pixel> palette;
  for (const Box& b : boxes) {
    if (b.begin == b.end) continue;
    long long r = 0, g = 0, bl = 0;
    for (size_t i = b.begin; i < b.end; ++i) r += RedOf(samples[i]), g += GreenOf(samples[i]), bl += BlueOf(samples[i]);
    const long long n = static_cast<long long>(b.end - b.begin);
    palette.push_back(Rgb(static_cast<uint8_t>(r / n), static_cast<uint8_t>(g / n), static_cast<uint8_t>(bl / n)));
  }
  return palette;
}

int Nearest(const std::vector<Pixel>& palette, Pixel p) {
  int best = 0;
  long best2 = -1;
  for (size_t i = 0; i < palette.size(); ++i) {
    const long dr = RedOf(p) - RedOf(palette[i]), dg = GreenOf(p) - GreenOf(palette[i]),
               db = BlueOf(p) - BlueOf(palette[i]);
    const long d2 = dr * dr * 3 + dg * dg * 4 + db * db * 2;
    if (best2 < 0 || d2 < best2) best2 = d2, best = static_cast<int>(i);
  }
  return best;
}

}  // namespace

struct GifWriter::State {
  GifFileType* file = nullptr;
  std::vector<Pixel> palette;
  std::vector<uint8_t> backgroundIndex;  // per pixel
  PixelBuffer background;
  std::vector<uint8_t> shown;            // indices currently on the GIF canvas
  std::array<int16_t, 32768> cache{};    // 15-bit colour -> palette index + 1
  int delay = 5;
  int width = 0, height = 0;
  bool first = true;

  uint8_t IndexOf(Pixel p) {
    for (int c = 0; c < saver::kLeafColours; ++c)
      if (p == saver::kLeafColourValues[c]) return static_cast<uint8_t>(kFittedColours + c);
    const int key = (RedOf(p) >> 3) << 10 | (GreenOf(p) >> 3) << 5 | (BlueOf(p) >> 3);
    if (!cache[key]) cache[key] = static_cast<int16_t>(Nearest(palette, p) + 1);
    return static_cast<uint8_t>(cache[key] - 1);
  }
};

GifWriter::GifWriter() = default;
GifWriter::~GifWriter() { Close(); }

bool GifWriter::Open(const std::string& path, const PixelBuffer& background, int delayCentiseconds) {
  state_ = std::make_unique<State>();
  State& s = *state_;
  s.width = background.width(), s.height = background.height();
  s.delay = delayCentiseconds;
  s.background = background;
  s.palette = FitPalette(background, kFittedColours);
  s.palette.resize(kFittedColours, 0);
  s.backgroundIndex.resize(background.pixels().size());
  for (size_t i = 0; i < s.backgroundIndex.size(); ++i) {
    const Pixel p = background.pixels()[i];
    const int key = (RedOf(p) >> 3) << 10 | (GreenOf(p) >> 3) << 5 | (BlueOf(p) >> 3);
    if (!s.cache[key]) s.cache[key] = static_cast<int16_t>(Nearest(s.palette, p) + 1);
    s.backgroundIndex[i] = static_cast<uint8_t>(s.cache[key] - 1);
  }
  int error = 0;
  // giflib's own opener creates the file 0600; the picture is for anyone to view, so the umask decides.
  constexpr mode_t kUsualMode = 0666;
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, kUsualMode);
  if (fd < 0) return false;
  s.file = EGifOpenFileHandle(fd, &error);
  if (!s.file) {
    close(fd);
    return false;
  }
  ColorMapObject* map = GifMakeMapObject(256, nullptr);
  for (int i = 0; i < 256; ++i) {
    const Pixel p = i < kFittedColours ? s.palette[i]
                    : i < kTransparent ? saver::kLeafColourValues[i - kFittedColours]
                                       : 0;
    map->Colors[i] = {RedOf(p), GreenOf(p), BlueOf(p)};
  }
  EGifSetGifVersion(s.file, true);
  const bool ok = EGifPutScreenDesc(s.file, s.width, s.height, 8, 0, map) == GIF_OK;
  GifFreeMapObject(map);
  // Loop for ever (the NETSCAPE2.0 application extension).
  const uint8_t loop[] = {1, 0, 0};
  return ok && EGifPutExtensionLeader(s.file, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(s.file, 11, "NETSCAPE2.0") == GIF_OK &&
         EGifPutExtensionBlock(s.file, 3, loop) == GIF_OK && EGifPutExtensionTrailer(s.file) == GIF_OK;
}

bool GifWriter::Add(const PixelBuffer& frame) {
  if (!state_ || !state_->file || frame.width() != state_->width || frame.height() != state_->height) return false;
  State& s = *state_;
  std::vector<uint8_t> indices(frame.pixels().size());
  for (size_t i = 0; i < indices.size(); ++i) {
    const Pixel p = frame.pixels()[i];
    indices[i] = p == s.background.pixels()[i] ? s.backgroundIndex[i] : s.IndexOf(p);
  }
  // The box of pixels that differ from what the canvas shows.
  Rect box{0, 0, s.width, s.height};
  if (!s.first) {
    int x0 = s.width, y0 = s.height, x1 = -1, y1 = -1;
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < s.width; ++x) {
        const size_t i = static_cast<size_t>(y) * s.width + x;
        if (indices[i] != s.shown[i]) x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
      }
    box = x1 < 0 ? Rect{0, 0, 1, 1} : Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
  }
  // Graphic control: no disposal (frames build on each other), delay, transparent index.
  const uint8_t control[] = {static_cast<uint8_t>((1 << 2) | (s.first ? 0 : 1)), static_cast<uint8_t>(s.delay & 0xFF),
                             static_cast<uint8_t>(s.delay >> 8), kTransparent};
  if (EGifPutExtension(s.file, GRAPHICS_EXT_FUNC_CODE, 4, control) != GIF_OK) return false;
  if (EGifPutImageDesc(s.file, box.x, box.y, box.w, box.h, false, nullptr) != GIF_OK) return false;
  std::vector<GifPixelType> line(static_cast<size_t>(box.w));
  for (int y = box.y; y < box.bottom(); ++y) {
    for (int x = 0; x < box.w; ++x) {
      const size_t i = static_cast<size_t>(y) * s.width + box.x + x;
      line[x] = (!s.first && indices[i] == s.shown[i]) ? kTransparent : indices[i];
    }
    if (EGifPutLine(s.file, line.data(), box.w) != GIF_OK) return false;
  }
  s.shown = std::move(indices);
  s.first = false;
  return true;
}

bool GifWriter::Close() {
  if (!state_ || !state_->file) return true;
  int error = 0;
  const bool ok = EGifCloseFile(state_->file, &error) == GIF_OK;
  state_->file = nullptr;
  return ok;
}

}  // namespace kovaren::render
