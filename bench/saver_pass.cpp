// Cost of one saver pass: the whole-frame rebuild (clear the frame to the snapshot, draw every shown
// leaf) against the dirty-rectangle pass, at two screen sizes and two leaf counts, and 4K at scale 2
// (a 200 % laptop: the leaves of 1080p, each pixel a 2 x 2 block), with the leaves as they are 30 s
// after a start, the busiest time (the "shown" counter says how many are on the screen). The
// rebuild also copies the frame to a screen-sized buffer, standing in for a shell that presents a
// copy; the dirty pass draws into storage of its own as the X11 shell draws into its shared image,
// so it copies nothing more. ColdDirtyRectPass sleeps a pass's 16 ms between passes, as the saver
// does, so its rows come from memory rather than the cache. TwoMonitorPass runs a 1080p monitor at
// scale 1 beside a 4K one at scale 2, one scene each, as the saver does.
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "art/leaf_art.h"
#include "saver/leaf_scene.h"

namespace {

using kovaren::PixelBuffer;
using kovaren::Rgb;
using kovaren::saver::LeafScene;

constexpr int kPassesPerSecond = 60;
constexpr int kPasses = 10 * kPassesPerSecond;      // ten seconds of the saver
constexpr int kPeakPasses = 30 * kPassesPerSecond;  // the leaves 30 s after a start
constexpr auto kPassInterval = std::chrono::microseconds(1'000'000 / kPassesPerSecond);

// A picture whose every row changes along it, or (plain) one colour, as a dark backdrop or a
// desktop of one colour is.
PixelBuffer Desktop(int w, int h, bool plain = false) {
  PixelBuffer p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.set(x, y, plain ? Rgb(0x30, 0x60, 0xA0) : Rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 0x80));
  return p;
}

// Runs the passes of the first 30 s: the leaves came in from above, and nearly all are on the
// screen. Scenes of the same logical size and seed step the same leaves, and every benchmark runs
// the same number of passes, so 1080p at scale 1 and 4K at scale 2 draw the very same leaves and
// differ only in the cost of magnifying them.
LeafScene PeakScene(int w, int h, int leafCount, int scale = 1, bool plain = false, uint64_t seed = 42) {
  static const auto sprites = kovaren::art::DrawLeafSprites();
  LeafScene scene(Desktop(w, h, plain), sprites, leafCount, std::make_unique<kovaren::saver::SeededRandom>(seed), scale);
  for (int i = 0; i < kPeakPasses; ++i) scene.RunPass();
  return scene;
}

enum class Way { FullFrame, Dirty, ColdDirty };

template <Way kWay>
void Pass(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  const int leafCount = static_cast<int>(state.range(2));
  const bool plain = state.range(4) != 0;
  LeafScene scene = PeakScene(w, h, leafCount, static_cast<int>(state.range(3)), plain);
  PixelBuffer storage(scene.frame());  // standing in for the shell's shared image
  if (kWay != Way::FullFrame) scene.DrawInto(storage);
  PixelBuffer screen(scene.frame());
  long long shown = 0, pixels = 0, requests = 0;
  for (auto _ : state) {
    if (kWay == Way::ColdDirty) {
      state.PauseTiming();
      std::this_thread::sleep_for(kPassInterval);
      state.ResumeTiming();
    }
    const auto rects = kWay == Way::FullFrame ? scene.RunFullFramePass() : scene.RunPass();
    requests += static_cast<long long>(rects.size());
    for (const auto& r : rects) {
      if (kWay == Way::FullFrame) kovaren::Blit(screen, r.x, r.y, scene.frame(), r, kovaren::RasterOp::Copy);
      pixels += static_cast<long long>(r.w) * r.h;
    }
    shown += scene.shownCount();
    benchmark::DoNotOptimize(screen.pixels().data());
    benchmark::DoNotOptimize(storage.pixels().data());
  }
  state.counters["shown"] = benchmark::Counter(static_cast<double>(shown), benchmark::Counter::kAvgIterations);
  state.counters["presented_px"] =
      benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kAvgIterations);
  state.counters["rects"] = benchmark::Counter(static_cast<double>(requests), benchmark::Counter::kAvgIterations);
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (int leafCount : {100, 500}) {
    b->Args({1920, 1080, leafCount, 1, 0});
    b->Args({3840, 2160, leafCount, 1, 0});
    b->Args({3840, 2160, leafCount, 2, 0});
  }
  b->ArgNames({"w", "h", "leafCount", "scale", "plain"})->Iterations(kPasses)->Unit(benchmark::kMicrosecond);
}

// The passes the saver runs live, at 1080p: slept between, each a pass's sleep; over a picture and
// over one colour.
void Live(benchmark::internal::Benchmark* b) {
  for (int plain : {0, 1}) {
    for (int leafCount : {100, 500}) b->Args({1920, 1080, leafCount, 1, plain});
  }
  b->ArgNames({"w", "h", "leafCount", "scale", "plain"})->Iterations(kPasses)->Unit(benchmark::kMicrosecond);
}

BENCHMARK(Pass<Way::FullFrame>)->Name("FullFramePass")->Apply(Sizes);
BENCHMARK(Pass<Way::Dirty>)->Name("DirtyRectPass")->Apply(Sizes);
BENCHMARK(Pass<Way::ColdDirty>)->Name("ColdDirtyRectPass")->Apply(Live);

// Both monitors' dirty passes, each drawn into storage of its own.
void TwoMonitorPass(benchmark::State& state) {
  const int leafCount = static_cast<int>(state.range(0));
  LeafScene scenes[] = {PeakScene(1920, 1080, leafCount, 1, false, 42), PeakScene(3840, 2160, leafCount, 2, false, 43)};
  PixelBuffer storage[] = {PixelBuffer(scenes[0].frame()), PixelBuffer(scenes[1].frame())};
  for (int m = 0; m < 2; ++m) scenes[m].DrawInto(storage[m]);
  long long pixels = 0;
  for (auto _ : state) {
    for (int m = 0; m < 2; ++m) {
      for (const auto& r : scenes[m].RunPass()) pixels += static_cast<long long>(r.w) * r.h;
      benchmark::DoNotOptimize(storage[m].pixels().data());
    }
  }
  state.counters["presented_px"] =
      benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kAvgIterations);
}
BENCHMARK(TwoMonitorPass)->ArgNames({"leafCount"})->Arg(100)->Arg(500)->Iterations(kPasses)->Unit(benchmark::kMicrosecond);

}  // namespace
