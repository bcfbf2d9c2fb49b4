// The leaf sprites embedded in Kovaren.scr (RCDATA resources named by SpriteName, upper-cased).
#pragma once
#include <optional>

#include "saver/sprites.h"

namespace kovaren::win32 {

// Nothing when a picture is missing or unreadable.
std::optional<saver::SpriteSet> LoadEmbeddedSprites();

}  // namespace kovaren::win32
