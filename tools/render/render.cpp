// kovaren-render: the saver without a window. Runs the same leaf scene over a PNG background (or a
// synthetic desktop) and writes a PNG still or an animated GIF. Passes are counted at the saver's
// reference rate of 60 per second.
//
//   kovaren-render [--size WxH] [--leaves N] [--seed S] [--background FILE.png]
//                  [--skip PASSES] [--passes PASSES] [--every K] --out FILE.png|FILE.gif
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "art/leaf_art.h"
#include "art/preview_art.h"
#include "render/image_io.h"
#include "saver/leaf_scene.h"

namespace {

constexpr int kPassesPerSecond = 60;

void Usage() {
  std::fprintf(stderr,
               "usage: kovaren-render [--size WxH] [--leaves N] [--seed S] [--background FILE.png]\n"
               "                      [--skip PASSES] [--passes PASSES] [--every K] --out FILE.png|FILE.gif\n"
               "  --size       frame size when there is no background (default 1024x768)\n"
               "  --leaves     the leaf-count setting: N + 1 leaves, none below 0 (default 100)\n"
               "  --seed       random seed (default 1)\n"
               "  --skip       passes run before the first picture (default: enough that every leaf's\n"
               "               hidden first descent is over, about H / 0.5 passes)\n"
               "  --passes     passes after the skip (default 1 for a PNG, 240 = 4 s for a GIF)\n"
               "  --every      GIF: one picture every K passes (default 3 -> 20 pictures per second)\n");
}

bool EndsWith(const std::string& s, const char* tail) {
  const size_t n = std::strlen(tail);
  return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  int width = 1024, height = 768, leafCount = 100, skip = -1, passes = -1, every = 3;
  unsigned long long seed = 1;
  std::string background, out;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (arg == "--help" || arg == "-h") {
      Usage();
      return 0;
    }
    if (!value) {
      Usage();
      return 2;
    }
    ++i;
    if (arg == "--size") {
      if (std::sscanf(value, "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0 || width > 16384 ||
          height > 16384) {
        std::fprintf(stderr, "kovaren-render: bad size %s\n", value);
        return 2;
      }
    } else if (arg == "--leaves") {
      leafCount = std::atoi(value);
    } else if (arg == "--seed") {
      seed = std::strtoull(value, nullptr, 10);
    } else if (arg == "--background") {
      background = value;
    } else if (arg == "--skip") {
      skip = std::atoi(value);
    } else if (arg == "--passes") {
      passes = std::atoi(value);
    } else if (arg == "--every") {
      every = std::max(1, std::atoi(value));
    } else if (arg == "--out") {
      out = value;
    } else {
      Usage();
      return 2;
    }
  }
  const bool gif = EndsWith(out, ".gif");
  if (out.empty() || (!gif && !EndsWith(out, ".png"))) {
    Usage();
    return 2;
  }

  kovaren::PixelBuffer desktop;
  if (!background.empty()) {
    auto picture = kovaren::render::ReadPng(background);
    if (!picture) {
      std::fprintf(stderr, "kovaren-render: cannot read %s\n", background.c_str());
      return 1;
    }
    desktop = std::move(*picture);
  } else {
    desktop = kovaren::art::DrawSyntheticDesktop(width, height);
  }
  if (skip < 0) skip = static_cast<int>(desktop.height() / 0.5) + 1;
  if (passes < 0) passes = gif ? 4 * kPassesPerSecond : 1;

  kovaren::saver::LeafScene scene(desktop, kovaren::art::DrawLeafSprites(), leafCount,
                                  std::make_unique<kovaren::saver::SeededRandom>(seed));
  for (int i = 0; i < skip; ++i) scene.RunPass();

  if (!gif) {
    for (int i = 0; i < passes; ++i) scene.RunPass();
    if (!kovaren::render::WritePng(out, scene.frame())) {
      std::fprintf(stderr, "kovaren-render: cannot write %s\n", out.c_str());
      return 1;
    }
  } else {
    kovaren::render::GifWriter writer;
    // Centiseconds per picture at the reference rate (3 passes -> 5 cs).
    const int delay = std::max(2, (every * 100 + kPassesPerSecond / 2) / kPassesPerSecond);
    bool ok = writer.Open(out, scene.frame(), delay);
    for (int i = 0; ok && i < passes; ++i) {
      scene.RunPass();
      if (i % every == every - 1) ok = writer.Add(scene.frame());
    }
    ok = writer.Close() && ok;
    if (!ok) {
      std::fprintf(stderr, "kovaren-render: cannot write %s\n", out.c_str());
      return 1;
    }
  }
  std::printf("%s\n", out.c_str());
  return 0;
}
