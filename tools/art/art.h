// The artwork generator: every picture under assets/ is drawn by code here. Each family returns its
// files (path relative to assets/, and the exact bytes); gen-assets writes them and a unit test checks
// that the committed files are byte for byte what these functions draw.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kovaren::art {

struct AssetFile {
  std::string path;  // relative to assets/, with forward slashes
  std::vector<uint8_t> bytes;
};

std::vector<AssetFile> DrawLeafAssets();     // leaves/: 51 colour frames, 17 masks
std::vector<AssetFile> DrawSkinAssets();     // button/: the six 64 x 25 skin pictures
std::vector<AssetFile> DrawDialogAssets();   // dialog/: panel strip, option marks, hand pointer
std::vector<AssetFile> DrawIconAssets();     // icon/: the program icon
std::vector<AssetFile> DrawPreviewAssets();  // preview/: the still miniature of the saver at work

std::vector<AssetFile> DrawAllAssets();

}  // namespace kovaren::art
