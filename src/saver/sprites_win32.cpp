// Loads the leaf sprites from Kovaren.scr's RCDATA resources.
#include "saver/sprites_win32.h"

#include <string>

#include "platform/resources_win32.h"

namespace kovaren::win32 {

std::optional<saver::SpriteSet> LoadEmbeddedSprites(HMODULE module) {
  return saver::LoadSpriteSet([module](const std::string& name) -> std::optional<PixelBuffer> {
    return ResourcePicture(module, ResourceName(name).c_str());
  });
}

}  // namespace kovaren::win32
