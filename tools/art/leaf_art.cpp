#include "art/art.h"

namespace kovaren::art {

// Not drawn yet.
std::vector<AssetFile> DrawLeafAssets() { return {}; }

}  // namespace kovaren::art
