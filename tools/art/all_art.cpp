#include "art/art.h"

namespace kovaren::art {

std::vector<AssetFile> DrawAllAssets() {
  std::vector<AssetFile> all;
  for (auto family : {DrawLeafAssets, DrawSkinAssets, DrawDialogAssets, DrawIconAssets, DrawPreviewAssets}) {
    auto files = family();
    all.insert(all.end(), std::make_move_iterator(files.begin()), std::make_move_iterator(files.end()));
  }
  return all;
}

}  // namespace kovaren::art
