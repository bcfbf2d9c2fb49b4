// The falling-leaf model: the leaf record, its start values, and the per-pass leaf step that moves a
// leaf, respawns it at the top and says where (and whether) to draw it. Pure arithmetic: no drawing,
// no clock, no platform. The random source is injected so tests can drive it.
#pragma once
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace kovaren::saver {

// Ten 32-bit float fields; those holding whole numbers are stored as floats too, and every
// assignment in the step stores a float (the model's positions depend on that precision).
struct Leaf {
  float baseX = 0;      // horizontal base before sway and offset, pixels
  float swayAmp = 0;    // sway amplitude, pixels
  float phase = 0;      // sway phase; grows by 2 every pass
  float y = 0;          // top edge, pixels, growing downwards
  float fallSpeed = 0;  // pixels fallen per pass
  float spinDir = 0;    // 0: frames count up; 1..8: frames count down
  float frameTick = 0;  // drawn passes since the last frame change
  float shown = 0;      // 1: drawn during this descent; 0: hidden
  float frame = 0;      // sprite frame 0..16
  float colour = 0;     // 0 red, 1 yellow, 2 yellow-green
  bool operator==(const Leaf&) const = default;
};

constexpr int kLeafFrames = 17;      // sprite poses per colour
constexpr int kLeafSize = 32;        // sprite width and height, pixels
constexpr int kMaxLeafScale = 8;     // largest sprite magnification: 768 DPI, beyond any real screen
constexpr float kRespawnY = -10.0f;  // a respawned leaf's top edge: only its lower 22 rows show at first

// Uniform random numbers in [0, 1).
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual double NextUniform() = 0;
};

// A seeded generator (64-bit Mersenne Twister, 53-bit fractions). The saver seeds it from the time
// of day; tools and tests pass fixed seeds for repeatable pictures.
class SeededRandom final : public RandomSource {
 public:
  explicit SeededRandom(uint64_t seed);
  double NextUniform() override;

 private:
  std::mt19937_64 engine_;
};

// A seed made from the time of day (milliseconds since midnight), as the saver uses.
uint64_t SeedFromTimeOfDay(int hour, int minute, int second, int millisecond);

// leafCount + 1 leaves with their start values (random numbers drawn leaf by leaf, for y, fallSpeed,
// spinDir, frameTick and colour in that order); no leaves at all when leafCount is below 0.
// width/height: the frame size in pixels.
std::vector<Leaf> StartLeaves(int leafCount, int width, int height, RandomSource& random);

// Where one shown leaf is drawn in a pass: sprite top-left (px, py), frame 0..16, colour 0..2.
struct LeafDraw {
  int px = 0;
  int py = 0;
  int frame = 0;
  int colour = 0;
  bool operator==(const LeafDraw&) const = default;
};

// The unrounded left edge x of a leaf as the step computes it (from the leaf's current fields).
float LeafX(const Leaf& leaf, int width);

// One pass of one leaf: fall, sway, respawn below the bottom edge (drawing four random numbers),
// and for a shown leaf the draw position and the frame advance. Nothing when the leaf is hidden.
std::optional<LeafDraw> StepLeaf(Leaf& leaf, int width, int height, RandomSource& random);

}  // namespace kovaren::saver
