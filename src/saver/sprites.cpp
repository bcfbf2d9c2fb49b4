// Sprite-set rules and construction. A set is sound when every picture is 32 x 32, colour frames hold
// only black and their own colour, masks only white and black, each mask is the exact complement of
// its three colour frames, and each silhouette covers 102..282 pixels.
#include "saver/sprites.h"

#include <cstdio>

namespace kovaren::saver {
namespace {

constexpr const char* kSetNames[] = {"red", "yellow", "yellowgreen", "mask"};

std::string Hex(Pixel p) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(p));
  return text;
}

std::string At(int x, int y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

bool IsSpriteSized(const PixelBuffer& p) { return p.width() == kLeafSize && p.height() == kLeafSize; }

}  // namespace

std::string SpriteName(int set, int frame) {
  char number[8];
  std::snprintf(number, sizeof number, "%02d", frame);
  return std::string("leaf_") + kSetNames[set] + "_" + number;
}

std::vector<std::string> CheckSpriteSet(const SpriteSet& sprites) {
  std::vector<std::string> problems;
  for (int f = 0; f < kLeafFrames; ++f) {
    const PixelBuffer& mask = sprites.masks[f];
    const std::string maskName = SpriteName(kMaskSet, f);
    if (!IsSpriteSized(mask)) {
      problems.push_back(maskName + ": not 32 x 32");
      continue;
    }
    int inside = 0;
    for (int y = 0; y < kLeafSize; ++y) {
      for (int x = 0; x < kLeafSize; ++x) {
        const Pixel m = mask.at(x, y);
        if (m == kMaskInside) {
          ++inside;
        } else if (m != kMaskOutside) {
          problems.push_back(maskName + ": pixel " + At(x, y) + " is " + Hex(m));
        }
      }
    }
    if (inside < kMinSilhouettePixels || inside > kMaxSilhouettePixels) {
      problems.push_back(maskName + ": silhouette of " + std::to_string(inside) + " pixels");
    }
    for (int c = 0; c < kLeafColours; ++c) {
      const PixelBuffer& colour = sprites.colours[c][f];
      const std::string name = SpriteName(c, f);
      if (!IsSpriteSized(colour)) {
        problems.push_back(name + ": not 32 x 32");
        continue;
      }
      for (int y = 0; y < kLeafSize; ++y) {
        for (int x = 0; x < kLeafSize; ++x) {
          const Pixel want = mask.at(x, y) == kMaskInside ? kLeafColourValues[c] : Rgb(0, 0, 0);
          if (colour.at(x, y) != want) {
            problems.push_back(name + ": pixel " + At(x, y) + " is " + Hex(colour.at(x, y)) + ", mask wants " +
                               Hex(want));
          }
        }
      }
    }
  }
  return problems;
}

SpriteSet SpriteSetFromMasks(const std::array<PixelBuffer, kLeafFrames>& masks) {
  SpriteSet set;
  set.masks = masks;
  for (int c = 0; c < kLeafColours; ++c) {
    for (int f = 0; f < kLeafFrames; ++f) {
      PixelBuffer colour(masks[f].width(), masks[f].height());
      for (int y = 0; y < colour.height(); ++y) {
        for (int x = 0; x < colour.width(); ++x) {
          if (masks[f].at(x, y) == kMaskInside) colour.set(x, y, kLeafColourValues[c]);
        }
      }
      set.colours[c][f] = std::move(colour);
    }
  }
  return set;
}

std::optional<SpriteSet> LoadSpriteSet(const PictureLoader& load) {
  SpriteSet set;
  for (int s = 0; s <= kMaskSet; ++s) {
    for (int f = 0; f < kLeafFrames; ++f) {
      std::optional<PixelBuffer> picture = load(SpriteName(s, f));
      if (!picture || !IsSpriteSized(*picture)) return std::nullopt;
      (s == kMaskSet ? set.masks[f] : set.colours[s][f]) = std::move(*picture);
    }
  }
  return set;
}

}  // namespace kovaren::saver
