// Cost of one saver pass: the whole-frame rebuild (clear the frame to the snapshot, draw every shown
// leaf) against the dirty-rectangle pass, at two screen sizes and two leaf counts, in steady state
// (about half the leaves on screen). Each pass also copies what it reports to a screen-sized buffer,
// standing in for the shell's presentation (the whole frame, or only the dirty rectangles).
#include <benchmark/benchmark.h>

#include "art/leaf_art.h"
#include "saver/leaf_scene.h"

namespace {

using kovaren::PixelBuffer;
using kovaren::Rgb;
using kovaren::saver::LeafScene;

PixelBuffer Desktop(int w, int h) {
  PixelBuffer p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.set(x, y, Rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 0x80));
  return p;
}

// Runs passes until every leaf has finished its hidden first descent (about half then show).
LeafScene SteadyScene(int w, int h, int leafCount) {
  static const auto sprites = kovaren::art::DrawLeafSprites();
  LeafScene scene(Desktop(w, h), sprites, leafCount, std::make_unique<kovaren::saver::SeededRandom>(42));
  const int passes = static_cast<int>(h / 0.5) + 200;
  for (int i = 0; i < passes; ++i) scene.RunPass();
  return scene;
}

template <bool kDirty>
void Pass(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  const int leafCount = static_cast<int>(state.range(2));
  LeafScene scene = SteadyScene(w, h, leafCount);
  PixelBuffer screen = scene.frame();
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
    b->Args({1920, 1080, leafCount});
    b->Args({3840, 2160, leafCount});
  }
  b->ArgNames({"w", "h", "leafCount"})->Unit(benchmark::kMicrosecond);
}

BENCHMARK(Pass<false>)->Name("FullFramePass")->Apply(Sizes);
BENCHMARK(Pass<true>)->Name("DirtyRectPass")->Apply(Sizes);

}  // namespace
