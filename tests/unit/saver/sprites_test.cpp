// The sprite-set rules, checked on the drawn set, on the committed files (the bytes the executable
// embeds) and, so the checker itself is trusted, on sets broken on purpose.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "art/leaf_art.h"
#include "gfx/bmp.h"
#include "gfx/little_endian.h"
#include "saver/built_in_pictures.h"
#include "saver/sprites.h"

namespace kovaren::saver {
namespace {

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Silhouette(const PixelBuffer& mask) {
  int n = 0;
  for (Pixel p : mask.pixels()) n += p == kMaskInside;
  return n;
}

TEST(LeafSprites, CommittedFilesAreSoundUncompressed24BitBitmaps) {
  const auto dir = std::filesystem::path(KOVAREN_SOURCE_DIR) / "assets" / "leaves";
  auto sprites = LoadSpriteSet([&](const std::string& name) -> std::optional<PixelBuffer> {
    const auto bytes = ReadFile(dir / (name + ".bmp"));
    EXPECT_EQ(bytes.size(), 3126u) << name;
    if (bytes.size() < 54) return std::nullopt;
    EXPECT_EQ(LoadLe32(bytes, 10), 54u) << name << ": pixels right after the headers";
    EXPECT_EQ(bytes[28], 24) << name << ": 24 bits per pixel";
    EXPECT_EQ(LoadLe32(bytes, 30), 0u) << name << ": uncompressed";
    return DecodeBmp(bytes);
  });
  ASSERT_TRUE(sprites) << "all 68 pictures, 32 x 32";
  for (const auto& problem : CheckSpriteSet(*sprites)) ADD_FAILURE() << problem;
}

// The Linux program's pictures are the committed files byte for byte, so both programs show one set.
TEST(LeafSprites, BuiltInPicturesAreTheCommittedFiles) {
  const auto dir = std::filesystem::path(KOVAREN_SOURCE_DIR) / "assets" / "leaves";
  for (int set = 0; set <= kMaskSet; ++set) {
    for (int frame = 0; frame < kLeafFrames; ++frame) {
      const std::string name = SpriteName(set, frame);
      const std::span<const uint8_t> built = BuiltInPicture(name);
      const std::vector<uint8_t> committed = ReadFile(dir / (name + ".bmp"));
      EXPECT_TRUE(std::equal(built.begin(), built.end(), committed.begin(), committed.end())) << name;
    }
  }
  EXPECT_TRUE(BuiltInPicture("leaf_red_17").empty());
  ASSERT_TRUE(BuiltInSprites());
  EXPECT_TRUE(CheckSpriteSet(*BuiltInSprites()).empty());
}

TEST(LeafSprites, PosesAreWholeLeavesInsideTheSpriteAndFrameFourIsTheThinnest) {
  const auto masks = art::DrawLeafMasks();
  int thinnest = 0;
  for (int f = 0; f < kLeafFrames; ++f) {
    const PixelBuffer& m = masks[f];
    // Nothing touches the border (a clipped leaf would).
    for (int i = 0; i < kLeafSize; ++i) {
      EXPECT_NE(m.at(i, 0), kMaskInside) << "frame " << f;
      EXPECT_NE(m.at(i, kLeafSize - 1), kMaskInside) << "frame " << f;
      EXPECT_NE(m.at(0, i), kMaskInside) << "frame " << f;
      EXPECT_NE(m.at(kLeafSize - 1, i), kMaskInside) << "frame " << f;
    }
    // One connected piece (8-neighbourhood): blade and stem are not torn apart by the sampling.
    std::vector<int> seen(kLeafSize * kLeafSize, 0), stack;
    int start = -1;
    for (int i = 0; i < kLeafSize * kLeafSize && start < 0; ++i)
      if (m.at(i % kLeafSize, i / kLeafSize) == kMaskInside) start = i;
    ASSERT_GE(start, 0);
    stack.push_back(start);
    seen[start] = 1;
    int reached = 0;
    while (!stack.empty()) {
      const int i = stack.back();
      stack.pop_back();
      ++reached;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int x = i % kLeafSize + dx, y = i / kLeafSize + dy;
          if (x < 0 || y < 0 || x >= kLeafSize || y >= kLeafSize) continue;
          const int j = y * kLeafSize + x;
          if (!seen[j] && m.at(x, y) == kMaskInside) seen[j] = 1, stack.push_back(j);
        }
    }
    EXPECT_EQ(reached, Silhouette(m)) << "frame " << f << " falls apart";
    if (Silhouette(m) < Silhouette(masks[thinnest])) thinnest = f;
  }
  EXPECT_EQ(thinnest, 4) << "frame 4 is the nearly edge-on pose";
}

TEST(CheckSpriteSet, ReportsEveryKindOfBrokenRule) {
  const SpriteSet good = art::DrawLeafSprites();
  ASSERT_TRUE(CheckSpriteSet(good).empty());
  // Find one inside and one outside pixel of frame 2.
  int inX = -1, inY = 0, outX = 0, outY = 0;
  for (int i = 0; i < kLeafSize * kLeafSize; ++i)
    if (good.masks[2].at(i % kLeafSize, i / kLeafSize) == kMaskInside) inX = i % kLeafSize, inY = i / kLeafSize;
  ASSERT_GE(inX, 0);
  struct Case {
    const char* what;
    std::function<void(SpriteSet&)> breakIt;
  } cases[] = {
      {"grey mask pixel", [&](SpriteSet& s) { s.masks[2].set(outX, outY, Rgb(128, 128, 128)); }},
      {"colour outside the silhouette", [&](SpriteSet& s) { s.colours[1][2].set(outX, outY, kLeafColourValues[1]); }},
      {"black inside the silhouette", [&](SpriteSet& s) { s.colours[0][2].set(inX, inY, 0); }},
      {"wrong colour", [&](SpriteSet& s) { s.colours[2][2].set(inX, inY, kLeafColourValues[0]); }},
      {"empty silhouette", [&](SpriteSet& s) { s.masks[5].fill(kMaskOutside); }},
      {"silhouette too large", [&](SpriteSet& s) { s.masks[6].fill({0, 0, 32, 9}, kMaskInside); }},
      {"wrong size", [&](SpriteSet& s) { s.colours[0][16] = PixelBuffer(32, 31); }},
  };
  for (const Case& c : cases) {
    SpriteSet broken = good;
    c.breakIt(broken);
    EXPECT_FALSE(CheckSpriteSet(broken).empty()) << c.what;
  }
}

TEST(LoadSpriteSet, RefusesMissingOrMisSizedPictures) {
  const SpriteSet good = art::DrawLeafSprites();
  auto from = [&](const std::string& skip, int size) {
    return LoadSpriteSet([&](const std::string& name) -> std::optional<PixelBuffer> {
      if (name == skip) return size ? std::optional<PixelBuffer>(PixelBuffer(size, size)) : std::nullopt;
      for (int s = 0; s <= kMaskSet; ++s)
        for (int f = 0; f < kLeafFrames; ++f)
          if (SpriteName(s, f) == name) return s == kMaskSet ? good.masks[f] : good.colours[s][f];
      return std::nullopt;
    });
  };
  EXPECT_TRUE(from("", 0));
  EXPECT_FALSE(from("leaf_mask_16", 0));
  EXPECT_FALSE(from("leaf_yellowgreen_00", 0));
  EXPECT_FALSE(from("leaf_red_08", 16));
  EXPECT_EQ(SpriteName(0, 3), "leaf_red_03");
  EXPECT_EQ(SpriteName(kMaskSet, 16), "leaf_mask_16");
}

}  // namespace
}  // namespace kovaren::saver
