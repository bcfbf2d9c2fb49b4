// How the skinned button looks: its six skin pictures, the background gradient and the eight rim
// pieces cut from a picture, drawn into a pixel buffer. Decides nothing about when to draw (see
// button.h); the caption's text is drawn by the platform inside the box CaptionBox gives.
#pragma once
#include <array>
#include <cstdint>

#include "gfx/pixel_buffer.h"

namespace kovaren::skin_button {

enum class Skin : uint8_t { Normal, HighLight, Pressed, Selected, HighLightSelect, Disable };
inline constexpr int kSkinCount = 6;

// Every skin picture is 64 x 25 pixels; only its outer four pixels (the rim) are ever copied.
inline constexpr int kSkinWidth = 64;
inline constexpr int kSkinHeight = 25;
inline constexpr int kRim = 4;

// The button measures in twips, 15 to the pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

// Background gradient: light at one end, lavender grey at the other, as 16-bit channel values
// (channel in the high byte), the form a GRADIENT_FILL_RECT_V vertex takes.
struct GradientColour {
  uint16_t red, green, blue;
};
inline constexpr GradientColour kGradientLight{0xFF00, 0xFF00, 0xFF00};
inline constexpr GradientColour kGradientShade{0xC600, 0xC500, 0xD700};

// What the surface is cleared to before the gradient; it shows only where the rim and gradient
// leave a gap (buttons narrower or lower than 8 pixels).
inline constexpr Pixel kSurfaceBackground = Rgb(0xEC, 0xE9, 0xD8);

// The file stem of each picture under assets/button/ (and of its resource). HighLight and
// HighLightSelect are the same picture, stored once.
const char* SkinFileStem(Skin skin);

class SkinSet {
 public:
  SkinSet() = default;
  // Each picture is used as given; a missing (empty) one draws no rim.
  explicit SkinSet(std::array<PixelBuffer, kSkinCount> pictures) : pictures_(std::move(pictures)) {}
  const PixelBuffer& operator[](Skin s) const { return pictures_[static_cast<size_t>(s)]; }

 private:
  std::array<PixelBuffer, kSkinCount> pictures_;
};

// One rim piece: copied from `source` of the skin picture, stretched onto `destination`.
struct RimPiece {
  Rect source;
  Rect destination;
};

// The eight pieces in drawing order (corners at their size, edges stretched along their length)
// for a button of w x h pixels.
std::array<RimPiece, 8> RimPieces(int width, int height);

// Fills columns 0..w-2 and rows 0..h-2 with a vertical gradient: the top row has the first colour,
// each later row moves linearly towards the second (reached one row below the fill).
// shadedTop = false: light at the top; true: shade at the top.
void PaintFaceGradient(PixelBuffer& surface, bool shadedTop);

// Clear, gradient, then the rim of `skin`: the whole look minus the caption.
void DrawButtonFace(PixelBuffer& surface, const PixelBuffer& skin, bool shadedTop);

// The caption label's box in pixels: full width, top at (H - label height - 20) / 2 twips.
// The label does not size itself to its text; its height stays a fixed 195 twips.
inline constexpr int kCaptionLabelHeightTwips = 195;
Rect CaptionBox(int width, int height, int labelHeightTwips = kCaptionLabelHeightTwips);

}  // namespace kovaren::skin_button
