// The program icon: a maple leaf in autumn colours (golden at the heart, red towards the points, a
// dark rim and veins, a brown stem) on a transparent background. The .ico holds 16, 32 and 48 pixel
// images twice: 32-bit with an alpha channel for current systems, and 256-colour with a 1-bit mask for
// the shell's classic 32 x 32 256-colour slot and for display modes without alpha.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "art/art.h"
#include "art/drawing.h"
#include "gfx/little_endian.h"

namespace kovaren::art {
namespace {

struct Rgba {
  double r = 0, g = 0, b = 0, a = 0;  // straight (not premultiplied) colour, 0..255; alpha 0..1
};

// Right half of the leaf's outline in leaf units (x right, y up), from the top point down to the notch
// beside the stem; the left half is its mirror image. Five lobes with their teeth.
constexpr std::array<Point, 15> kHalfOutline{{
    {0.00, 1.00},  {0.13, 0.74},  {0.27, 0.81},  {0.22, 0.44},  {0.52, 0.66},
    {0.50, 0.47},  {0.93, 0.53},  {0.77, 0.31},  {0.90, 0.19},  {0.55, 0.06},
    {0.68, -0.19}, {0.40, -0.13}, {0.37, -0.30}, {0.12, -0.20}, {0.05, -0.27},
}};
constexpr Point kBase{0.0, -0.24};  // where the veins meet the stem
// The veins run from the base to the tips of the three upper lobes and the two lower ones.
constexpr std::array<Point, 5> kVeinEnds{{{0.0, 0.93}, {0.86, 0.51}, {-0.86, 0.51}, {0.62, -0.17}, {-0.62, -0.17}}};
constexpr Point kStemTop{0.0, -0.20};
constexpr Point kStemEnd{0.08, -0.74};  // a slight lean to the right

constexpr double kRimWidth = 0.05;   // dark edge, in leaf units: keeps the 16 px shape crisp
constexpr double kVeinWidth = 0.022;
constexpr double kStemWidth = 0.06;
constexpr int kSamples = 4;  // 4 x 4 samples per pixel for smooth edges

constexpr Rgba kHeart{255, 196, 48, 1};  // golden yellow at the base
constexpr Rgba kMiddle{240, 112, 24, 1};  // orange
constexpr Rgba kPoints{196, 30, 22, 1};   // red at the tips
constexpr Rgba kRim{112, 16, 12, 1};
constexpr Rgba kVein{150, 36, 18, 1};
constexpr Rgba kStem{104, 58, 26, 1};

std::vector<Point> Outline() {
  std::vector<Point> outline(kHalfOutline.begin(), kHalfOutline.end());
  for (auto it = kHalfOutline.rbegin(); it != kHalfOutline.rend(); ++it) {
    if (it->x != 0.0) outline.push_back({-it->x, it->y});
  }
  return outline;
}



double DistanceToOutline(const std::vector<Point>& poly, Point p) {
  double best = 1e9;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) best = std::min(best, DistanceToSegment(p, poly[j], poly[i]));
  return best;
}

Rgba Mix(Rgba a, Rgba b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

// The colour of one sample point; alpha 0 outside the leaf and its stem.
Rgba Sample(const std::vector<Point>& outline, Point p, bool veins) {
  if (DistanceToSegment(p, kStemTop, kStemEnd) < kStemWidth) return kStem;
  if (!Inside(outline, p)) return {};
  if (DistanceToOutline(outline, p) < kRimWidth) return kRim;
  if (veins) {
    for (Point end : kVeinEnds) {
      if (DistanceToSegment(p, kBase, end) < kVeinWidth) return kVein;
    }
  }
  const double t = std::min(1.0, std::hypot(p.x - kBase.x, p.y - kBase.y) / 1.05);
  return t < 0.45 ? Mix(kHeart, kMiddle, t / 0.45) : Mix(kMiddle, kPoints, (t - 0.45) / 0.55);
}

// size x size pixels, top row first. Veins only where they are wider than a hairline.
std::vector<Rgba> Render(int size) {
  const auto outline = Outline();
  const bool veins = size >= 32;
  // The leaf spans x -0.93..0.93 and y -0.80..1.00: centre it with a little margin.
  constexpr double kHalfSpan = 0.96, kCentreY = 0.10;
  std::vector<Rgba> image(static_cast<size_t>(size) * size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Rgba sum;  // colour sums weighted by alpha, so edges do not darken towards transparent black
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const double u = (x + (sx + 0.5) / kSamples) / size * 2 - 1;
          const double v = (y + (sy + 0.5) / kSamples) / size * 2 - 1;
          const Rgba s = Sample(outline, {u * kHalfSpan, kCentreY - v * kHalfSpan}, veins);
          sum = {sum.r + s.r * s.a, sum.g + s.g * s.a, sum.b + s.b * s.a, sum.a + s.a};
        }
      }
      Rgba& out = image[static_cast<size_t>(y) * size + x];
      if (sum.a > 0) out = {sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, sum.a / (kSamples * kSamples)};
    }
  }
  return image;
}

uint8_t Byte(double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }


// The 256-colour images share one palette: entry 0 is what the mask hides, then a ramp through the
// leaf's gradient, then the rim, vein and stem colours and the blends of each with the ramp's red end.
std::vector<Rgba> Palette() {
  std::vector<Rgba> palette{{0, 0, 0, 1}};
  constexpr int kRamp = 160;
  for (int i = 0; i < kRamp; ++i) {
    const double t = double(i) / (kRamp - 1);
    palette.push_back(t < 0.45 ? Mix(kHeart, kMiddle, t / 0.45) : Mix(kMiddle, kPoints, (t - 0.45) / 0.55));
  }
  for (Rgba dark : {kRim, kVein, kStem}) {
    for (int i = 0; i < 31; ++i) {
      palette.push_back(Mix(dark, i < 16 ? kPoints : kMiddle, (i % 16) / 16.0));
    }
  }
  palette.resize(256, Rgba{0, 0, 0, 1});
  return palette;
}

uint8_t Nearest(const std::vector<Rgba>& palette, Rgba c) {
  int best = 1;
  double bestDistance = 1e18;
  for (int i = 1; i < static_cast<int>(palette.size()); ++i) {
    const double dr = palette[i].r - c.r, dg = palette[i].g - c.g, db = palette[i].b - c.b;
    const double d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) bestDistance = d, best = i;
  }
  return static_cast<uint8_t>(best);
}

// One icon image as the .ico stores it: BITMAPINFOHEADER (height doubled for the mask), palette for
// 8 bits, the colour rows bottom-up, then the 1-bit AND mask (1 = transparent), rows padded to 4 bytes.
std::vector<uint8_t> IconImage(int size, int bits) {
  const auto image = Render(size);
  const int maskStride = ((size + 31) / 32) * 4;
  const int colourStride = ((size * bits / 8) + 3) / 4 * 4;
  std::vector<uint8_t> out;
  AppendLe32(out, 40);
  AppendLe32(out, static_cast<uint32_t>(size));
  AppendLe32(out, static_cast<uint32_t>(size * 2));
  AppendLe16(out, 1);
  AppendLe16(out, static_cast<uint32_t>(bits));
  AppendLe32(out, 0);  // BI_RGB
  AppendLe32(out, static_cast<uint32_t>((colourStride + maskStride) * size));
  for (int i = 0; i < 4; ++i) AppendLe32(out, 0);

  // 256-colour: a pixel is opaque when at least half of it is leaf, as a 1-bit mask can only say yes or no.
  auto opaque = [&](const Rgba& p) { return bits == 32 ? p.a > 0 : p.a >= 0.5; };
  const auto palette = Palette();
  if (bits == 8) {
    for (const Rgba& c : palette) {
      out.push_back(Byte(c.b));
      out.push_back(Byte(c.g));
      out.push_back(Byte(c.r));
      out.push_back(0);
    }
  }
  for (int y = size - 1; y >= 0; --y) {
    const size_t start = out.size();
    for (int x = 0; x < size; ++x) {
      const Rgba& p = image[static_cast<size_t>(y) * size + x];
      if (bits == 32) {
        const bool any = p.a > 0;
        out.push_back(any ? Byte(p.b) : 0);
        out.push_back(any ? Byte(p.g) : 0);
        out.push_back(any ? Byte(p.r) : 0);
        out.push_back(Byte(p.a * 255));
      } else {
        out.push_back(opaque(p) ? Nearest(palette, p) : 0);
      }
    }
    out.resize(start + colourStride, 0);
  }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<uint8_t> row(maskStride, 0);
    for (int x = 0; x < size; ++x) {
      if (!opaque(image[static_cast<size_t>(y) * size + x])) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

struct Entry {
  int size, bits;
};
// Largest and deepest first: the order in which the shell prefers them when it has no better rule.
constexpr std::array<Entry, 6> kEntries{{{48, 32}, {32, 32}, {16, 32}, {48, 8}, {32, 8}, {16, 8}}};

std::vector<uint8_t> IconFile() {
  std::vector<std::vector<uint8_t>> images;
  for (const Entry& e : kEntries) images.push_back(IconImage(e.size, e.bits));
  std::vector<uint8_t> out;
  AppendLe16(out, 0);
  AppendLe16(out, 1);  // icon
  AppendLe16(out, static_cast<uint32_t>(kEntries.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(kEntries.size());
  for (size_t i = 0; i < kEntries.size(); ++i) {
    out.push_back(static_cast<uint8_t>(kEntries[i].size));
    out.push_back(static_cast<uint8_t>(kEntries[i].size));
    out.push_back(0);  // colour count: 0 means 256 or more
    out.push_back(0);
    AppendLe16(out, 1);  // planes
    AppendLe16(out, static_cast<uint32_t>(kEntries[i].bits));
    AppendLe32(out, static_cast<uint32_t>(images[i].size()));
    AppendLe32(out, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

}  // namespace

std::vector<AssetFile> DrawIconAssets() { return {{"icon/kovaren.ico", IconFile()}}; }

}  // namespace kovaren::art
