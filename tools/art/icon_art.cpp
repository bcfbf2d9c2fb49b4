#include "art/art.h"

namespace kovaren::art {

// Not drawn yet.
std::vector<AssetFile> DrawIconAssets() { return {}; }

}  // namespace kovaren::art
