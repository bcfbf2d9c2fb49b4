// The leaf sprites as pictures in memory, for the asset files and for tools that composite leaves
// without reading files (the headless renderer, the preview picture).
#pragma once
#include <array>

#include "gfx/pixel_buffer.h"
#include "saver/sprites.h"

namespace kovaren::art {

// The 17 masks: white outside, black inside the leaf's silhouette in each pose.
std::array<PixelBuffer, saver::kLeafFrames> DrawLeafMasks();
// The whole set: the masks and their red, yellow and yellow-green frames.
saver::SpriteSet DrawLeafSprites();

}  // namespace kovaren::art
