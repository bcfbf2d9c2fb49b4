#include "art/art.h"

namespace kovaren::art {

// Not drawn yet.
std::vector<AssetFile> DrawDialogAssets() { return {}; }

}  // namespace kovaren::art
