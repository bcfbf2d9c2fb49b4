#include "skin_button/button_skin.h"

#include "gfx/rounding.h"

namespace kovaren::skin_button {
namespace {

// The stretchable middle of each picture edge: 56 pixels across, 17 down.
constexpr int kSkinEdgeWidth = kSkinWidth - 2 * kRim;
constexpr int kSkinEdgeHeight = kSkinHeight - 2 * kRim;
constexpr int kSkinRight = kSkinWidth - kRim;    // 60
constexpr int kSkinBottom = kSkinHeight - kRim;  // 21

uint8_t ChannelAt(uint16_t from, uint16_t to, int row, int rows) {
  // GradientFill's per-row interpolation on 16-bit channels; the pixel takes the high byte.
  const int64_t value = (int64_t{from} * (rows - row) + int64_t{to} * row) / rows;
  return static_cast<uint8_t>(value >> 8);
}

}  // namespace

const char* SkinFileStem(Skin skin) {
  switch (skin) {
    case Skin::Normal: return "normal";
    case Skin::HighLight:
    case Skin::HighLightSelect: return "highlight";
    case Skin::Pressed: return "pressed";
    case Skin::Selected: return "selected";
    case Skin::Disable: return "disable";
  }
  return "normal";
}

std::array<RimPiece, 8> RimPieces(int w, int h) {
  const int edgeW = w - 2 * kRim;
  const int edgeH = h - 2 * kRim;
  return {{
      {{0, 0, kRim, kRim}, {0, 0, kRim, kRim}},                                       // top-left
      {{kRim, 0, kSkinEdgeWidth, kRim}, {kRim, 0, edgeW, kRim}},                      // top
      {{kSkinRight, 0, kRim, kRim}, {w - kRim, 0, kRim, kRim}},                       // top-right
      {{kSkinRight, kRim, kRim, kSkinEdgeHeight}, {w - kRim, kRim, kRim, edgeH}},     // right
      {{kSkinRight, kSkinBottom, kRim, kRim}, {w - kRim, h - kRim, kRim, kRim}},      // bottom-right
      {{kRim, kSkinBottom, kSkinEdgeWidth, kRim}, {kRim, h - kRim, edgeW, kRim}},     // bottom
      {{0, kSkinBottom, kRim, kRim}, {0, h - kRim, kRim, kRim}},                      // bottom-left
      {{0, kRim, kRim, kSkinEdgeHeight}, {0, kRim, kRim, edgeH}},                     // left
  }};
}

void PaintFaceGradient(PixelBuffer& surface, bool shadedTop) {
  // The fill rectangle runs from vertex (0, 0) to vertex (w - 1, h - 1), exclusive of the latter.
  const int columns = surface.width() - 1;
  const int rows = surface.height() - 1;
  if (columns <= 0 || rows <= 0) return;
  const GradientColour top = shadedTop ? kGradientShade : kGradientLight;
  const GradientColour bottom = shadedTop ? kGradientLight : kGradientShade;
  for (int y = 0; y < rows; ++y) {
    const Pixel colour = Rgb(ChannelAt(top.red, bottom.red, y, rows), ChannelAt(top.green, bottom.green, y, rows),
                             ChannelAt(top.blue, bottom.blue, y, rows));
    surface.fill({0, y, columns, 1}, colour);
  }
}

void DrawButtonFace(PixelBuffer& surface, const PixelBuffer& skin, bool shadedTop) {
  surface.fill(kSurfaceBackground);
  PaintFaceGradient(surface, shadedTop);
  if (skin.empty()) return;
  for (const RimPiece& piece : RimPieces(surface.width(), surface.height())) {
    StretchBlit(surface, piece.destination, skin, piece.source);
  }
}

Rect CaptionBox(int w, int h, int labelHeightTwips) {
  const double heightTwips = static_cast<double>(h) * kTwipsPerPixel;
  const double topTwips = (heightTwips - labelHeightTwips - 20.0) / 2.0;  // 10 twips above true centre
  return {0, RoundToInt(topTwips / kTwipsPerPixel), w, RoundToInt(static_cast<double>(labelHeightTwips) / kTwipsPerPixel)};
}

}  // namespace kovaren::skin_button
