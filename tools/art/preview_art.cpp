// The synthetic desktop and the preview picture. The preview is the saver itself: the leaf scene runs
// over a synthetic desktop three times the preview's size until leaves are on screen, and the frame
// is reduced to 152 x 112.
#include "art/preview_art.h"

#include <algorithm>
#include <cmath>

#include "art/art.h"
#include "art/leaf_art.h"
#include "gfx/bmp.h"
#include "saver/leaf_scene.h"

namespace kovaren::art {
namespace {

Pixel Mix(Pixel a, Pixel b, double t) {
  auto ch = [&](int shift) {
    const double v = ((a >> shift) & 0xFF) * (1 - t) + ((b >> shift) & 0xFF) * t;
    return static_cast<Pixel>(std::clamp(static_cast<int>(v + 0.5), 0, 255)) << shift;
  };
  return ch(16) | ch(8) | ch(0);
}

void Frame(PixelBuffer& p, const Rect& r, Pixel c) {
  p.fill({r.x, r.y, r.w, 1}, c);
  p.fill({r.x, r.bottom() - 1, r.w, 1}, c);
  p.fill({r.x, r.y, 1, r.h}, c);
  p.fill({r.right() - 1, r.y, 1, r.h}, c);
}

// An application window: shadow, frame, gradient title bar with buttons, a client area with lines.
void Window(PixelBuffer& p, const Rect& r, Pixel title, bool text, int unit) {
  p.fill({r.x + unit, r.y + unit, r.w, r.h}, Rgb(40, 48, 60));  // shadow
  p.fill(r, Rgb(236, 236, 232));
  const int bar = std::max(3, 6 * unit);
  for (int x = 0; x < r.w; ++x) p.fill({r.x + x, r.y, 1, bar}, Mix(title, Rgb(220, 230, 245), 0.7 * x / r.w));
  for (int i = 0; i < 3; ++i) {
    const int s = std::max(2, bar - 2 * std::max(1, unit));
    p.fill({r.right() - (i + 1) * (s + unit) - unit, r.y + (bar - s) / 2, s, s}, i == 0 ? Rgb(200, 70, 60) : Rgb(240, 240, 240));
  }
  Frame(p, r, Rgb(90, 100, 120));
  if (!text) return;
  const int line = std::max(2, 4 * unit);
  int n = 0;
  for (int y = r.y + bar + line; y + unit < r.bottom() - line; y += line, ++n) {
    const int len = (r.w - 6 * unit) * (5 + (n * 7) % 5) / 10;
    p.fill({r.x + 3 * unit, y, len, std::max(1, unit)}, Rgb(120, 124, 132));
  }
}

}  // namespace

PixelBuffer DrawSyntheticDesktop(int width, int height) {
  PixelBuffer p(width, height);
  if (width <= 0 || height <= 0) return p;
  const int unit = std::max(1, std::min(width, height) / 200);  // line widths scale with the screen
  // Wallpaper: a dusk sky over two rolling hills.
  for (int y = 0; y < height; ++y) {
    const Pixel sky = Mix(Rgb(38, 74, 140), Rgb(230, 170, 120), std::pow(double(y) / height, 1.6));
    std::fill_n(p.row(y), width, sky);
  }
  for (int x = 0; x < width; ++x) {
    const double u = double(x) / width;
    const int far = static_cast<int>(height * (0.62 - 0.06 * std::sin(u * 5.1 + 0.4)));
    const int near = static_cast<int>(height * (0.76 - 0.05 * std::sin(u * 3.3 + 2.0)));
    p.fill({x, far, 1, height - far}, Rgb(70, 96, 92));
    p.fill({x, near, 1, height - near}, Rgb(52, 74, 60));
  }
  // Desktop icons down the left edge.
  const int icon = std::max(4, 16 * unit);
  for (int i = 0; i < 4; ++i) {
    const Rect r{3 * icon / 4, icon / 2 + i * icon * 2, icon, icon};
    const Pixel colours[] = {Rgb(250, 210, 80), Rgb(110, 170, 240), Rgb(240, 240, 240), Rgb(160, 220, 130)};
    p.fill(r, colours[i]);
    Frame(p, r, Rgb(50, 50, 60));
    p.fill({r.x - icon / 4, r.bottom() + icon / 6, icon * 3 / 2, std::max(1, unit * 2)}, Rgb(245, 245, 245));
  }
  // Three windows, overlapping.
  Window(p, {width * 18 / 100, height * 12 / 100, width * 42 / 100, height * 46 / 100}, Rgb(30, 80, 170), true, unit);
  Window(p, {width * 48 / 100, height * 28 / 100, width * 38 / 100, height * 40 / 100}, Rgb(20, 110, 90), true, unit);
  Window(p, {width * 70 / 100, height * 8 / 100, width * 22 / 100, height * 18 / 100}, Rgb(130, 60, 140), false, unit);
  // Taskbar with a start button, task buttons and a clock area.
  const int bar = std::max(4, height / 24);
  p.fill({0, height - bar, width, bar}, Rgb(212, 208, 200));
  p.fill({0, height - bar, width, std::max(1, unit)}, Rgb(250, 250, 250));
  const int pad = std::max(1, bar / 6);
  p.fill({pad, height - bar + pad, bar * 5 / 2, bar - 2 * pad}, Rgb(60, 140, 60));
  for (int i = 0; i < 3; ++i) {
    const Rect r{bar * 3 + i * bar * 4, height - bar + pad, bar * 7 / 2, bar - 2 * pad};
    p.fill(r, i == 1 ? Rgb(190, 186, 180) : Rgb(226, 222, 214));
    Frame(p, r, Rgb(128, 128, 128));
  }
  p.fill({width - bar * 3, height - bar + pad, bar * 3 - pad, bar - 2 * pad}, Rgb(196, 192, 186));
  return p;
}

PixelBuffer ShrinkBy(ConstPixelView picture, int factor) {
  PixelBuffer out(picture.width() / factor, picture.height() / factor);
  for (int y = 0; y < out.height(); ++y) {
    for (int x = 0; x < out.width(); ++x) {
      int r = 0, g = 0, b = 0;
      for (int dy = 0; dy < factor; ++dy)
        for (int dx = 0; dx < factor; ++dx) {
          const Pixel px = picture.at(x * factor + dx, y * factor + dy);
          r += RedOf(px), g += GreenOf(px), b += BlueOf(px);
        }
      const int n = factor * factor;
      out.set(x, y, Rgb(static_cast<uint8_t>((r + n / 2) / n), static_cast<uint8_t>((g + n / 2) / n),
                        static_cast<uint8_t>((b + n / 2) / n)));
    }
  }
  return out;
}

PixelBuffer DrawPreviewPicture() {
  constexpr int kScale = 3;
  constexpr uint64_t kSeed = 20;
  constexpr int kPasses = 760;  // every hidden first descent is over; the shown ones are spread top to bottom
  saver::LeafScene scene(DrawSyntheticDesktop(kPreviewWidth * kScale, kPreviewHeight * kScale), DrawLeafSprites(),
                         /*leafCount=*/100, std::make_unique<saver::SeededRandom>(kSeed));
  for (int i = 0; i < kPasses; ++i) scene.RunPass();
  return ShrinkBy(scene.frame(), kScale);
}

std::vector<AssetFile> DrawPreviewAssets() { return {{"preview/preview.bmp", EncodeBmp24(DrawPreviewPicture())}}; }

}  // namespace kovaren::art
