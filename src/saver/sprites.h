// The leaf sprite set: 17 masks and 3 x 17 colour frames, 32 x 32 each, and the rules every set must
// meet (pure colours, each mask the exact complement of its three colour frames, silhouettes of
// 102..282 pixels). Built from decoded pictures; how they are loaded is the caller's business.
#pragma once
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "gfx/pixel_buffer.h"
#include "saver/leaf.h"

namespace kovaren::saver {

constexpr int kLeafColours = 3;
// Colour frames are this colour inside the silhouette and black outside; masks are black inside
// and white outside.
constexpr std::array<Pixel, kLeafColours> kLeafColourValues = {
    Rgb(255, 0, 0),    // red
    Rgb(255, 255, 0),  // yellow
    Rgb(128, 255, 0),  // yellow-green
};
constexpr Pixel kMaskOutside = Rgb(255, 255, 255);
constexpr Pixel kMaskInside = Rgb(0, 0, 0);
constexpr int kMinSilhouettePixels = 102;
constexpr int kMaxSilhouettePixels = 282;

struct SpriteSet {
  std::array<PixelBuffer, kLeafFrames> masks;
  std::array<std::array<PixelBuffer, kLeafFrames>, kLeafColours> colours;  // [colour][frame]
};

// Picture names: set 0..2 are the colour frames, kMaskSet the masks. "leaf_red_07", "leaf_mask_16".
// Files are assets/leaves/<name>.bmp; resources are the name upper-cased.
constexpr int kMaskSet = kLeafColours;
std::string SpriteName(int set, int frame);

// Every broken rule, one line each ("leaf_red_03: pixel (4, 5) is 0x123456"); empty when the set is sound.
std::vector<std::string> CheckSpriteSet(const SpriteSet& sprites);

// A set from 17 masks: each colour frame is the complement of its mask in that colour.
SpriteSet SpriteSetFromMasks(const std::array<PixelBuffer, kLeafFrames>& masks);

// Loads all 68 pictures through `load` (by SpriteName). Nothing when any picture is missing or is
// not 32 x 32; the pixel rules are not checked here (CheckSpriteSet does that).
using PictureLoader = std::function<std::optional<PixelBuffer>(const std::string& name)>;
std::optional<SpriteSet> LoadSpriteSet(const PictureLoader& load);

}  // namespace kovaren::saver
