// The settings dialog's pictures: the brushed-metal strip its panel is tiled with, the two option
// marks, and the hand pointer shown over the web address (a two-colour Windows cursor file).
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "art/art.h"
#include "art/drawing.h"
#include "gfx/bmp.h"
#include "gfx/little_endian.h"
#include "settings_dialog/dialog_layout.h"

namespace kovaren::art {
namespace {

using dialog::kMarkSize;
using dialog::kStripHeight;
using dialog::kStripWidth;

// A small deterministic generator, so the artwork is the same on every run and every machine.
class Lcg {
 public:
  explicit Lcg(uint32_t seed) : state_(seed) {}
  // Uniform in [-1, 1].
  double Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 24) * 2.0 - 1.0;
  }

 private:
  uint32_t state_;
};

// Column averages run evenly from the light left edge to the darker right edge.
constexpr double kLeft[3] = {222, 219, 220};
constexpr double kRight[3] = {175, 170, 168};
constexpr int kLowest = 160;
constexpr int kHighest = 224;
constexpr double kRowAmplitude = 4.0;    // how much whole rows differ: the long streaks
constexpr double kGrainAmplitude = 3.0;  // the short scratches along each row
constexpr int kGrainLength = 24;         // pixels between the scratch pattern's control points

PixelBuffer DrawStrip() {
  // Brightness offsets per pixel: a per-row level plus a smooth wobble along the row.
  std::vector<double> offset(static_cast<size_t>(kStripWidth) * kStripHeight);
  Lcg random(0x6B6F7661u);
  for (int y = 0; y < kStripHeight; ++y) {
    const double level = random.Next() * kRowAmplitude;
    std::vector<double> knots(kStripWidth / kGrainLength + 2);
    for (double& k : knots) k = random.Next() * kGrainAmplitude;
    for (int x = 0; x < kStripWidth; ++x) {
      const int i = x / kGrainLength;
      const double t = static_cast<double>(x % kGrainLength) / kGrainLength;
      const double wobble = knots[i] + (knots[i + 1] - knots[i]) * (3 - 2 * t) * t * t;
      offset[static_cast<size_t>(y) * kStripWidth + x] = level + wobble;
    }
  }
  // Every column's offsets sum to zero, so its average is exactly the even fall from left to right.
  for (int x = 0; x < kStripWidth; ++x) {
    double sum = 0;
    for (int y = 0; y < kStripHeight; ++y) sum += offset[static_cast<size_t>(y) * kStripWidth + x];
    for (int y = 0; y < kStripHeight; ++y) offset[static_cast<size_t>(y) * kStripWidth + x] -= sum / kStripHeight;
  }
  PixelBuffer strip(kStripWidth, kStripHeight);
  for (int y = 0; y < kStripHeight; ++y) {
    for (int x = 0; x < kStripWidth; ++x) {
      const double t = static_cast<double>(x) / (kStripWidth - 1);
      const double o = offset[static_cast<size_t>(y) * kStripWidth + x];
      uint8_t c[3];
      for (int ch = 0; ch < 3; ++ch) {
        const double v = kLeft[ch] + (kRight[ch] - kLeft[ch]) * t + o;
        c[ch] = static_cast<uint8_t>(std::clamp(static_cast<int>(std::lround(v)), kLowest, kHighest));
      }
      strip.set(x, y, Rgb(c[0], c[1], c[2]));
    }
  }
  return strip;
}

PixelBuffer DrawMark(Pixel border, Pixel inside) {
  PixelBuffer mark(kMarkSize, kMarkSize, border);
  mark.fill({1, 1, kMarkSize - 2, kMarkSize - 2}, inside);
  return mark;
}

// --- The hand pointer ---------------------------------------------------------------------------

constexpr int kCursorSize = 32;
constexpr int kHotX = 12;  // the tip of the raised index finger
constexpr int kHotY = 10;

enum Cell : uint8_t { kClear, kBlack, kWhite };
using CursorPicture = std::array<std::array<Cell, kCursorSize>, kCursorSize>;

// The hand's silhouette: a raised index finger, three folded fingers, the palm and the thumb.
bool InHand(int x, int y) {
  const bool finger = x >= 10 && x <= 14 && y >= 9 && y <= 24 && !(y == 9 && (x == 10 || x == 14));
  const bool middle = x >= 14 && x <= 18 && y >= 15 && y <= 24 && !(y == 15 && (x == 14 || x == 18));
  const bool ring = x >= 18 && x <= 22 && y >= 16 && y <= 24 && !(y == 16 && (x == 18 || x == 22));
  const bool little = x >= 22 && x <= 25 && y >= 18 && y <= 25 && !(y == 18 && (x == 22 || x == 25));
  const bool palm = x >= 10 && x <= 25 && y >= 22 && y <= 29 && !(y == 29 && (x == 10 || x == 25));
  // The thumb leans out to the lower left of the palm.
  const bool thumb = y >= 19 && y <= 26 && x >= 5 + (26 - y) / 2 - 1 && x <= 10 && x >= 4 + (y - 19) / 2 &&
                     !(y == 19 && x < 7);
  return finger || middle || ring || little || palm || thumb;
}

CursorPicture DrawHand() {
  CursorPicture p{};
  for (int y = 0; y < kCursorSize; ++y)
    for (int x = 0; x < kCursorSize; ++x) {
      if (!InHand(x, y)) continue;
      const bool edge = !InHand(x - 1, y) || !InHand(x + 1, y) || !InHand(x, y - 1) || !InHand(x, y + 1);
      p[y][x] = edge ? kBlack : kWhite;
    }
  // The lines between the folded fingers' tips, and the nail line across the index finger's tip.
  for (int y = 16; y <= 21; ++y) p[y][18] = kBlack;
  for (int y = 18; y <= 22; ++y) p[y][22] = kBlack;
  for (int y = 15; y <= 21; ++y) p[y][14] = kBlack;
  return p;
}


// A .cur file with one 32 x 32 two-colour image: the colour bitmap (black = 0, white = 1) and the
// transparency mask (1 = clear), both bottom-up, one bit per pixel, rows of four bytes.
std::vector<uint8_t> EncodeCursor(const CursorPicture& picture) {
  constexpr uint32_t kRowBytes = kCursorSize / 8;
  constexpr uint32_t kBitsBytes = kRowBytes * kCursorSize;
  constexpr uint32_t kImageBytes = 40 + 2 * 4 + 2 * kBitsBytes;
  constexpr uint32_t kDirectoryBytes = 6 + 16;
  std::vector<uint8_t> out;
  AppendLe16(out, 0);  // reserved
  AppendLe16(out, 2);  // resource type: cursor
  AppendLe16(out, 1);  // one image
  out.push_back(kCursorSize);
  out.push_back(kCursorSize);
  out.push_back(2);  // colours
  out.push_back(0);
  AppendLe16(out, kHotX);
  AppendLe16(out, kHotY);
  AppendLe32(out, kImageBytes);
  AppendLe32(out, kDirectoryBytes);
  // BITMAPINFOHEADER: the height counts the colour bitmap and the mask together.
  AppendLe32(out, 40);
  AppendLe32(out, kCursorSize);
  AppendLe32(out, 2 * kCursorSize);
  AppendLe16(out, 1);
  AppendLe16(out, 1);
  AppendLe32(out, 0);
  AppendLe32(out, 2 * kBitsBytes);
  AppendLe32(out, 0);
  AppendLe32(out, 0);
  AppendLe32(out, 2);
  AppendLe32(out, 0);
  AppendLe32(out, 0x00000000);  // palette: black
  AppendLe32(out, 0x00FFFFFF);  // white
  for (bool mask : {false, true}) {
    for (int y = kCursorSize - 1; y >= 0; --y) {
      for (uint32_t byte = 0; byte < kRowBytes; ++byte) {
        uint8_t bits = 0;
        for (int bit = 0; bit < 8; ++bit) {
          const Cell c = picture[y][byte * 8 + bit];
          const bool set = mask ? c == kClear : c == kWhite;
          if (set) bits |= static_cast<uint8_t>(0x80 >> bit);
        }
        out.push_back(bits);
      }
    }
  }
  return out;
}

}  // namespace

std::vector<AssetFile> DrawDialogAssets() {
  return {
      {"dialog/strip.bmp", EncodeBmp24(DrawStrip())},
      {"dialog/mark_off.bmp", EncodeBmp24(DrawMark(Rgb(128, 128, 128), Rgb(255, 255, 255)))},
      {"dialog/mark_on.bmp", EncodeBmp24(DrawMark(Rgb(0, 0, 128), Rgb(0, 64, 255)))},
      {"dialog/hand.cur", EncodeCursor(DrawHand())},
  };
}

}  // namespace kovaren::art
