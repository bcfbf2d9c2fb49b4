// kovaren-render: the saver without a window. Runs the same leaf scenes over a PNG background (or a
// synthetic desktop) and writes a PNG still or an animated GIF: one monitor at a scale, or several
// monitors side by side, each with its own scene at the scale its DPI gives, planned as the saver
// plans them. Passes are counted at the saver's reference rate of 60 per second.
//
//   kovaren-render [--size WxH] [--scale N] [--monitors WxH@DPI,...] [--leaves N] [--seed S]
//                  [--background FILE.png] [--skip PASSES] [--passes PASSES] [--every K] --out FILE.png|FILE.gif
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "art/leaf_art.h"
#include "art/preview_art.h"
#include "render/image_io.h"
#include "saver/leaf_scene.h"
#include "saver/monitor_plan.h"

namespace {

constexpr int kPassesPerSecond = 60;
constexpr int kMaxSide = 16384;
constexpr kovaren::Pixel kNoMonitor = kovaren::Rgb(0, 0, 0);  // parts of the picture no monitor shows

void Usage() {
  std::fprintf(stderr,
               "usage: kovaren-render [--size WxH] [--scale N] [--monitors WxH@DPI,...] [--leaves N] [--seed S]\n"
               "                      [--background FILE.png] [--skip PASSES] [--passes PASSES] [--every K]\n"
               "                      --out FILE.png|FILE.gif\n"
               "  --size       frame size when there is no background (default 1024x768)\n"
               "  --scale      one monitor at this scale (its DPI is 96 x N), 1..8 (default 1)\n"
               "  --monitors   monitors side by side, left to right, top edges aligned, the first primary,\n"
               "               e.g. 1920x1080@96,3840x2160@192; the picture is their bounding box\n"
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

// "1920x1080@96,3840x2160@192": monitors placed left to right from 0, 0. Nothing on a bad item.
std::optional<std::vector<kovaren::saver::MonitorReport>> ParseMonitors(const std::string& text) {
  std::vector<kovaren::saver::MonitorReport> monitors;
  std::stringstream list(text);
  std::string item;
  int x = 0;
  while (std::getline(list, item, ',')) {
    int w = 0, h = 0, dpi = 0;
    char tail = 0;
    if (std::sscanf(item.c_str(), "%dx%d@%d%c", &w, &h, &dpi, &tail) != 3 || w <= 0 || h <= 0 || w > kMaxSide ||
        h > kMaxSide || x > kMaxSide - w) {
      return std::nullopt;
    }
    monitors.push_back({{x, 0, w, h}, dpi, monitors.empty()});
    x += w;
  }
  if (monitors.empty()) return std::nullopt;
  return monitors;
}

// The saver's screen without a window: one scene per planned monitor over its part of the desktop,
// and the picture the window would show.
class Screen {
 public:
  Screen(const kovaren::PixelBuffer& desktop, const kovaren::saver::MonitorPlan& plan, int leafCount,
         unsigned long long seed)
      : picture_(desktop.width(), desktop.height(), kNoMonitor) {
    const auto sprites = kovaren::art::DrawLeafSprites();
    for (size_t i = 0; i < plan.scenes.size(); ++i) {
      const kovaren::saver::SceneArea& a = plan.scenes[i];
      kovaren::PixelBuffer part(a.area.w, a.area.h);
      kovaren::Blit(part, 0, 0, desktop, a.area, kovaren::RasterOp::Copy);
      areas_.push_back(a.area);
      // Each monitor its own seed, the first the one asked for.
      scenes_.emplace_back(std::move(part), sprites, leafCount,
                           std::make_unique<kovaren::saver::SeededRandom>(seed + i), a.scale);
    }
    Compose();
  }
  void RunPass() {
    for (auto& scene : scenes_) scene.RunPass();
  }
  const kovaren::PixelBuffer& picture() {
    Compose();
    return picture_;
  }
  int tallestLogicalHeight() const {
    int h = 0;
    for (const auto& scene : scenes_) h = std::max(h, scene.logicalHeight());
    return h;
  }

 private:
  void Compose() {
    for (size_t i = 0; i < scenes_.size(); ++i)
      kovaren::Blit(picture_, areas_[i].x, areas_[i].y, scenes_[i].frame(), kovaren::RasterOp::Copy);
  }
  kovaren::PixelBuffer picture_;
  std::vector<kovaren::Rect> areas_;
  std::vector<kovaren::saver::LeafScene> scenes_;
};

}  // namespace

int main(int argc, char** argv) {
  int width = 1024, height = 768, leafCount = 100, skip = -1, passes = -1, every = 3, scale = 1;
  unsigned long long seed = 1;
  std::string background, out;
  std::vector<kovaren::saver::MonitorReport> monitors;
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
    } else if (arg == "--scale") {
      scale = std::atoi(value);
      if (scale < kovaren::saver::kMinScale || scale > kovaren::saver::kMaxScale) {
        std::fprintf(stderr, "kovaren-render: bad scale %s (1..8)\n", value);
        return 2;
      }
    } else if (arg == "--monitors") {
      auto parsed = ParseMonitors(value);
      if (!parsed) {
        std::fprintf(stderr, "kovaren-render: bad monitor list %s (WxH@DPI,...)\n", value);
        return 2;
      }
      monitors = std::move(*parsed);
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

  if (!monitors.empty()) {
    width = monitors.back().bounds.right();
    height = 0;
    for (const auto& m : monitors) height = std::max(height, m.bounds.h);
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
  const kovaren::Rect whole = desktop.bounds();
  if (monitors.empty()) monitors.push_back({whole, scale * kovaren::saver::kBaseDpi, true});
  const kovaren::saver::MonitorPlan plan = kovaren::saver::PlanMonitors(whole, monitors);
  Screen screen(desktop, plan, leafCount, seed);
  if (skip < 0) skip = static_cast<int>(screen.tallestLogicalHeight() / 0.5) + 1;
  if (passes < 0) passes = gif ? 4 * kPassesPerSecond : 1;
  for (int i = 0; i < skip; ++i) screen.RunPass();

  if (!gif) {
    for (int i = 0; i < passes; ++i) screen.RunPass();
    if (!kovaren::render::WritePng(out, screen.picture())) {
      std::fprintf(stderr, "kovaren-render: cannot write %s\n", out.c_str());
      return 1;
    }
  } else {
    kovaren::render::GifWriter writer;
    // Centiseconds per picture at the reference rate (3 passes -> 5 cs).
    const int delay = std::max(2, (every * 100 + kPassesPerSecond / 2) / kPassesPerSecond);
    bool ok = writer.Open(out, screen.picture(), delay);
    for (int i = 0; ok && i < passes; ++i) {
      screen.RunPass();
      if (i % every == every - 1) ok = writer.Add(screen.picture());
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
