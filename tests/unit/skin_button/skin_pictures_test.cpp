// The committed skin pictures: size, depth, the described colours of frame, border and each
// picture's inner ring, and that the resource script embeds every one of them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "art/art.h"
#include "skin_button/button_skin.h"
#include "gfx/bmp.h"

namespace kovaren::skin_button {
namespace {

std::map<std::string, PixelBuffer> DrawnPictures() {
  std::map<std::string, PixelBuffer> pictures;
  for (const auto& file : art::DrawSkinAssets()) {
    auto picture = DecodeBmp(file.bytes);
    EXPECT_TRUE(picture.has_value()) << file.path;
    if (picture) pictures[file.path] = *picture;
    EXPECT_EQ(file.bytes.at(28), 24) << file.path << " is not 24 bits per pixel";
  }
  return pictures;
}

TEST(SkinPictures, EveryLookHasA64By25Picture) {
  const auto pictures = DrawnPictures();
  for (Skin s : {Skin::Normal, Skin::HighLight, Skin::Pressed, Skin::Selected, Skin::HighLightSelect, Skin::Disable}) {
    const auto it = pictures.find(std::string("button/") + SkinFileStem(s) + ".bmp");
    ASSERT_NE(it, pictures.end()) << SkinFileStem(s);
    EXPECT_EQ(it->second.width(), kSkinWidth);
    EXPECT_EQ(it->second.height(), kSkinHeight);
  }
  EXPECT_EQ(pictures.size(), 5u) << "HighLight and HighLightSelect share one picture";
}

TEST(SkinPictures, FramesBordersAndGlowsHaveTheirColours) {
  const auto pictures = DrawnPictures();
  struct Probe {
    const char* stem;
    int x, y;
    Pixel colour;
  };
  const Pixel blue = 0x003C74;
  const Probe probes[] = {
      // The raised looks share the light frame and the dark blue border.
      {"normal", 30, 0, 0xE0DCC9}, {"normal", 30, 24, 0xF8F7F0}, {"normal", 0, 1, 0xE1DDCA},
      {"normal", 0, 23, 0xE2DECB}, {"normal", 63, 1, 0xEFEDDF},  {"normal", 63, 23, 0xF1EEE2},
      {"highlight", 30, 0, 0xE0DCC9}, {"selected", 30, 24, 0xF8F7F0},
      {"normal", 30, 1, blue}, {"normal", 30, 23, blue}, {"normal", 1, 12, blue}, {"normal", 62, 12, blue},
      {"highlight", 30, 1, blue}, {"highlight", 62, 12, blue}, {"selected", 30, 23, blue}, {"selected", 1, 12, blue},
      // Normal: faint shadow at the bottom right.
      {"normal", 30, 2, 0xF3F3EE}, {"normal", 30, 3, 0xF3F3EE}, {"normal", 2, 4, 0xFDFDFC}, {"normal", 2, 20, 0xECEBE6},
      {"normal", 60, 4, 0xFBFBFA}, {"normal", 60, 20, 0xE4E2DA}, {"normal", 61, 4, 0xF6F4F2},
      {"normal", 61, 20, 0xE0DDD4}, {"normal", 30, 21, 0xE2DFD6}, {"normal", 30, 22, 0xD6D0C5},
      // HighLight: orange glow.
      {"highlight", 30, 2, 0xFFF0CF}, {"highlight", 30, 3, 0xFDD889}, {"highlight", 2, 4, 0xFEDF9A},
      {"highlight", 2, 20, 0xF9B435}, {"highlight", 3, 4, 0xFCD279}, {"highlight", 3, 20, 0xF8B535},
      {"highlight", 61, 4, 0xFEDF9A}, {"highlight", 60, 20, 0xF8B535},
      {"highlight", 30, 21, 0xF8B330}, {"highlight", 30, 22, 0xE59700},
      // Selected: blue focus ring.
      {"selected", 30, 2, 0xCEE7FF}, {"selected", 30, 3, 0xCEE7FF}, {"selected", 2, 4, 0xB7D0F4},
      {"selected", 3, 20, 0x8BADE4}, {"selected", 61, 20, 0x8BADE4}, {"selected", 30, 21, 0x6982EE},
      {"selected", 30, 22, 0x6982EE},
      // Pressed: the rim one pixel further in, sunken grey ring.
      {"pressed", 30, 0, 0xECE9D8}, {"pressed", 0, 12, 0xECE9D8}, {"pressed", 63, 12, 0xECE9D8},
      {"pressed", 30, 24, 0xECE9D8}, {"pressed", 30, 2, blue}, {"pressed", 30, 22, blue}, {"pressed", 2, 12, blue},
      {"pressed", 61, 12, blue}, {"pressed", 30, 3, 0xD1CCC1}, {"pressed", 3, 4, 0xA0ABB1}, {"pressed", 3, 20, 0xBCC5C7},
      // Disable: flat grey.
      {"disable", 30, 0, 0xECE9D8}, {"disable", 0, 12, 0xECE9D8}, {"disable", 30, 1, 0xC9C7BA},
      {"disable", 62, 12, 0xC9C7BA}, {"disable", 30, 23, 0xC9C7BA}, {"disable", 30, 2, 0xF5F4EA},
      {"disable", 3, 12, 0xF5F4EA}, {"disable", 60, 21, 0xF5F4EA},
  };
  for (const Probe& p : probes) {
    const auto& picture = pictures.at(std::string("button/") + p.stem + ".bmp");
    EXPECT_EQ(picture.at(p.x, p.y), p.colour) << p.stem << " at (" << p.x << ", " << p.y << ")";
  }
}

TEST(SkinPictures, BorderCornersAreRoundedWithBlendedPixels) {
  const auto pictures = DrawnPictures();
  const std::set<Pixel> blends = {0x7A95A8, 0x255783, 0x164D7E, 0x6788A0};
  for (const char* stem : {"normal", "highlight", "selected"}) {
    const auto& p = pictures.at(std::string("button/") + stem + ".bmp");
    for (auto [x, y] : {std::pair{1, 1}, {62, 1}, {1, 23}, {62, 23}, {2, 2}, {61, 22}}) {
      EXPECT_TRUE(blends.count(p.at(x, y))) << stem << " corner (" << x << ", " << y << ")";
    }
  }
  const auto& disable = pictures.at("button/disable.bmp");
  EXPECT_NE(disable.at(1, 1), 0xC9C7BAu);
  EXPECT_NE(disable.at(1, 1), 0xECE9D8u);
}

TEST(SkinPictures, ResourceScriptEmbedsEveryPicture) {
  std::ifstream in(std::filesystem::path(KOVAREN_SOURCE_DIR) / "src/skin_button/skins_win32.rc");
  std::stringstream text;
  text << in.rdbuf();
  for (const auto& file : art::DrawSkinAssets()) {
    EXPECT_NE(text.str().find("\"assets/" + file.path + "\""), std::string::npos) << file.path;
  }
}

}  // namespace
}  // namespace kovaren::skin_button
