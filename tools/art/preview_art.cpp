#include "art/art.h"

namespace kovaren::art {

// Not drawn yet.
std::vector<AssetFile> DrawPreviewAssets() { return {}; }

}  // namespace kovaren::art
