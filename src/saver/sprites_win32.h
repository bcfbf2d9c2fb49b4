// The leaf sprites embedded in Kovaren.scr (RCDATA resources named by SpriteName, upper-cased).
#pragma once
#include <windows.h>

#include <optional>

#include "saver/sprites.h"

namespace kovaren::win32 {

// From `module` (default: this program). Nothing when a picture is missing or unreadable.
std::optional<saver::SpriteSet> LoadEmbeddedSprites(HMODULE module = nullptr);

}  // namespace kovaren::win32
