// The committed pictures are exactly what the generator draws: a change to the artwork code must
// come with regenerated assets (run gen-assets), and nobody edits a picture by hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "art/art.h"

namespace {

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(CommittedAssets, EqualWhatTheGeneratorDraws) {
  const std::filesystem::path root = std::filesystem::path(KOVAREN_SOURCE_DIR) / "assets";
  std::set<std::string> drawn;
  for (const auto& file : kovaren::art::DrawAllAssets()) {
    EXPECT_TRUE(drawn.insert(file.path).second) << "drawn twice: " << file.path;
    const auto committed = ReadFile(root / file.path);
    EXPECT_EQ(committed, file.bytes) << file.path << " differs from the generator's output (run gen-assets)";
  }
  // Every committed picture has a drawing behind it.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    const auto rel = std::filesystem::relative(entry.path(), root).generic_string();
    if (rel.ends_with(".md")) continue;
    EXPECT_TRUE(drawn.count(rel)) << "assets/" << rel << " is not drawn by the generator";
  }
}

}  // namespace
