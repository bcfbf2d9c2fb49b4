// Cost of one saver pass: the whole-frame rebuild (clear the frame to the snapshot, draw every shown
// leaf) against the dirty-rectangle pass, at two screen sizes and two leaf counts, and 4K at scale 2
// (a 200 % laptop: the leaves of 1080p, each pixel a 2 x 2 block), in steady state (about half the
// leaves on screen). Each pass also copies what it reports to a screen-sized buffer, standing in for
// the shell's presentation (the whole frame, or only the dirty rectangles). TwoMonitorPass runs a
// 1080p monitor at scale 1 beside a 4K one at scale 2, one scene each, as the saver does.
#include <benchmark/benchmark.h>

#include "art/leaf_art.h"
#include "saver/leaf_scene.h"

namespace {

using kovaren::PixelBuffer;
using kovaren::Rgb;
using kovaren::saver::LeafScene;

constexpr int kPasses = 600;  // ten seconds of the saver

PixelBuffer Desktop(int w, int h) {
  PixelBuffer p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.set(x, y, Rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 0x80));
  return p;
}

// Runs passes until every leaf has finished its hidden first descent and the leaves' descents have
// drifted apart. Scenes of the same logical size and seed step the same leaves,
// and every benchmark runs the same number of passes, so 1080p at scale 1 and 4K at scale 2 draw the
// very same leaves and differ only in the cost of magnifying them.
LeafScene SteadyScene(int w, int h, int leafCount, int scale = 1, uint64_t seed = 42) {
  static const auto sprites = kovaren::art::DrawLeafSprites();
  LeafScene scene(Desktop(w, h), sprites, leafCount, std::make_unique<kovaren::saver::SeededRandom>(seed), scale);
  const int passes = 3 * static_cast<int>(scene.logicalHeight() / 0.5) + 200;
  for (int i = 0; i < passes; ++i) scene.RunPass();
  return scene;
}

template <bool kDirty>
void Pass(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  const int leafCount = static_cast<int>(state.range(2));
  LeafScene scene = SteadyScene(w, h, leafCount, static_cast<int>(state.range(3)));
  PixelBuffer screen(scene.frame());
  long long shown = 0, pixels = 0;
  for (auto _ : state) {
    const auto rects = kDirty ? scene.RunPass() : scene.RunFullFramePass();
    for (const auto& r : rects) {
      kovaren::Blit(screen, r.x, r.y, scene.frame(), r, kovaren::RasterOp::Copy);
      pixels += static_cast<long long>(r.w) * r.h;
    }
    shown += scene.shownCount();
    benchmark::DoNotOptimize(screen.pixels().data());
  }
  state.counters["shown"] = benchmark::Counter(static_cast<double>(shown), benchmark::Counter::kAvgIterations);
  state.counters["presented_px"] =
      benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kAvgIterations);
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (int leafCount : {100, 500}) {
    b->Args({1920, 1080, leafCount, 1});
    b->Args({3840, 2160, leafCount, 1});
    b->Args({3840, 2160, leafCount, 2});
  }
  b->ArgNames({"w", "h", "leafCount", "scale"})->Iterations(kPasses)->Unit(benchmark::kMicrosecond);
}

BENCHMARK(Pass<false>)->Name("FullFramePass")->Apply(Sizes);
BENCHMARK(Pass<true>)->Name("DirtyRectPass")->Apply(Sizes);

// Both monitors' dirty passes, each presented to its own screen buffer.
void TwoMonitorPass(benchmark::State& state) {
  const int leafCount = static_cast<int>(state.range(0));
  LeafScene scenes[] = {SteadyScene(1920, 1080, leafCount, 1, 42), SteadyScene(3840, 2160, leafCount, 2, 43)};
  PixelBuffer screens[] = {PixelBuffer(scenes[0].frame()), PixelBuffer(scenes[1].frame())};
  long long pixels = 0;
  for (auto _ : state) {
    for (int m = 0; m < 2; ++m) {
      for (const auto& r : scenes[m].RunPass()) {
        kovaren::Blit(screens[m], r.x, r.y, scenes[m].frame(), r, kovaren::RasterOp::Copy);
        pixels += static_cast<long long>(r.w) * r.h;
      }
      benchmark::DoNotOptimize(screens[m].pixels().data());
    }
  }
  state.counters["presented_px"] =
      benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kAvgIterations);
}
BENCHMARK(TwoMonitorPass)->ArgNames({"leafCount"})->Arg(100)->Arg(500)->Iterations(kPasses)->Unit(benchmark::kMicrosecond);

}  // namespace
