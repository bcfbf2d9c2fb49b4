#include "settings_dialog/backdrop.h"

#include <cmath>

#include "gfx/rounding.h"
#include "settings_dialog/dialog_layout.h"

namespace kovaren::dialog {
namespace {

// Half a sine period spread over the height: dark at both edges, brightest in the middle.
constexpr double kHalfPeriodDivisor = 3.142;
constexpr double kPeak = 220;      // red and green at the brightest row
constexpr int kBlueLead = 30;      // blue is this much above red and green on every row

}  // namespace

std::vector<Pixel> GradientRows(double height) {
  if (!(height > 0)) return {};
  const double k = height / kHalfPeriodDivisor;
  const int n = RoundToInt(height);
  std::vector<Pixel> rows;
  rows.reserve(static_cast<size_t>(n) + 1);
  for (int y = 0; y <= n; ++y) {
    const int c = RoundToInt(std::fabs(std::sin(y / k)) * kPeak);
    rows.push_back(Rgb(static_cast<uint8_t>(c), static_cast<uint8_t>(c), static_cast<uint8_t>(c + kBlueLead)));
  }
  return rows;
}

void PaintBackdropGradient(PixelBuffer& target) {
  const std::vector<Pixel> rows = GradientRows(target.height());
  // The last row lies one below the buffer and is clipped away.
  for (int y = 0; y < target.height() && y < static_cast<int>(rows.size()); ++y)
    target.fill({0, y, target.width(), 1}, rows[y]);
}

std::vector<TilePosition> TilePositions(int stripW, int stripH, int targetW, int targetH) {
  if (stripW <= 0 || stripH <= 0) return {};
  std::vector<TilePosition> positions;
  int x = 0;
  int y = 0;
  for (;;) {
    positions.push_back({x, y});
    if (y > targetH) {
      if (x > targetW) break;
      x += stripW;
      y = 0;
    } else {
      y += stripH;
    }
  }
  return positions;
}

void TileBackground(PixelBuffer& target, const PixelBuffer& strip) {
  for (const TilePosition& p : TilePositions(strip.width(), strip.height(), target.width(), target.height()))
    Blit(target, p.x, p.y, strip, RasterOp::Copy);
}

PixelBuffer ComposeBackdrop(int clientW, int clientH, const PixelBuffer& strip) {
  PixelBuffer backdrop(clientW, clientH);
  PaintBackdropGradient(backdrop);
  // Plain metal grey shows should the strip be missing.
  PixelBuffer panel(kPanel.w, kPanel.h, Rgb(200, 196, 195));
  TileBackground(panel, strip);
  Blit(backdrop, kPanel.x, kPanel.y, panel, RasterOp::Copy);
  return backdrop;
}

}  // namespace kovaren::dialog
