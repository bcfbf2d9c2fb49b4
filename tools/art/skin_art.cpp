#include "art/art.h"

namespace kovaren::art {

// Not drawn yet.
std::vector<AssetFile> DrawSkinAssets() { return {}; }

}  // namespace kovaren::art
