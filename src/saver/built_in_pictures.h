// The leaf pictures built into the Linux program (as Kovaren.scr carries them as resources): the
// committed assets/leaves files, byte for byte, defined by a file the build writes from them.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "gfx/bmp.h"
#include "saver/sprites.h"

namespace kovaren::saver {

// The file's bytes, by its name without ".bmp" ("leaf_red_07"); empty when there is none.
std::span<const uint8_t> BuiltInPicture(std::string_view name);

// The sprite set those files make; nothing if one is missing or unreadable.
inline std::optional<SpriteSet> BuiltInSprites() {
  return LoadSpriteSet([](const std::string& name) -> std::optional<PixelBuffer> {
    const std::span<const uint8_t> bytes = BuiltInPicture(name);
    if (bytes.empty()) return std::nullopt;
    return DecodeBmp(bytes);
  });
}

}  // namespace kovaren::saver
