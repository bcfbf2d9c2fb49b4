// gen-assets [DIR]: draws every picture of the program and writes it under DIR (default: the
// project's assets/ folder). The committed assets are this program's output.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "art/art.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const fs::path root = argc > 1 ? fs::path(argv[1]) : fs::path(KOVAREN_ASSETS_DIR);
  int written = 0;
  for (const auto& file : kovaren::art::DrawAllAssets()) {
    const fs::path path = root / file.path;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.bytes.data()), static_cast<std::streamsize>(file.bytes.size()));
    if (!out) {
      std::fprintf(stderr, "gen-assets: cannot write %s\n", path.string().c_str());
      return 1;
    }
    ++written;
  }
  std::printf("gen-assets: %d files under %s\n", written, root.string().c_str());
  return 0;
}
