// The leaf start values and the leaf step. Products and sums are formed in double precision and
// stored as 32-bit floats, always in the order written here: reordering them would change the last
// bits of a position, so runs stay repeatable bit for bit only while this order holds.
#include "saver/leaf.h"

#include <cmath>

#include "gfx/rounding.h"

namespace kovaren::saver {
namespace {

constexpr float kPhasePerPass = 2.0f;
// Sine factor: deliberately 6.28, not 2 pi. With Phase growing by 2 per pass the sine's argument
// grows by 12.56 = 4 pi - 0.00637 per pass, so the sway drifts slowly (about 986 passes a cycle);
// 2 pi would freeze it.
constexpr double kSineFactor = 6.28;
constexpr double kCosineDivisor = 100.0;  // the cosine envelope: about 314 passes a cycle
constexpr double kSwayBase = 200.0;       // pixels
constexpr double kSwayRange = 75.0;       // pixels
constexpr double kPhaseRange = 3.0;
constexpr double kFallBase = 0.5;         // pixels per pass
constexpr double kFallRange = 0.2;
constexpr int kSpinChoices = 9;           // spinDir 0 counts up, 1..8 count down
constexpr int kTickChoices = 6;
constexpr float kTicksPerFrame = 10.0f;   // a frame changes when frameTick passes this: every 11 passes
constexpr float kLastFrame = kLeafFrames - 1;

float FallSpeed(double r) { return static_cast<float>(r * kFallRange + kFallBase); }

}  // namespace

SeededRandom::SeededRandom(uint64_t seed) : engine_(seed) {}

double SeededRandom::NextUniform() {
  // The top 53 bits as a fraction: exactly uniform on a grid in [0, 1), never 1.
  return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

uint64_t SeedFromTimeOfDay(int hour, int minute, int second, int millisecond) {
  return ((static_cast<uint64_t>(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
}

std::vector<Leaf> StartLeaves(int leafCount, int width, int height, RandomSource& random) {
  std::vector<Leaf> leaves;
  if (leafCount < 0) return leaves;
  leaves.resize(static_cast<size_t>(leafCount) + 1);
  for (Leaf& leaf : leaves) {
    leaf.y = static_cast<float>(random.NextUniform() * height);
    leaf.fallSpeed = FallSpeed(random.NextUniform());
    leaf.spinDir = static_cast<float>(std::floor(random.NextUniform() * kSpinChoices));
    leaf.frameTick = static_cast<float>(std::floor(random.NextUniform() * kTickChoices));
    leaf.colour = static_cast<float>(std::floor(random.NextUniform() * 3));
  }
  (void)width;  // BaseX, SwayAmp and Phase start at 0; the first respawn sets them
  return leaves;
}

float LeafX(const Leaf& leaf, int width) {
  const double phase = leaf.phase;
  const double s = std::sin(phase * kSineFactor);
  const double c = std::cos(phase / kCosineDivisor);
  return static_cast<float>(double{leaf.baseX} + double{leaf.swayAmp} * s * c + width / 8.0 * 3.0);
}

std::optional<LeafDraw> StepLeaf(Leaf& leaf, int width, int height, RandomSource& random) {
  leaf.y = leaf.y + leaf.fallSpeed;
  leaf.phase = leaf.phase + kPhasePerPass;
  if (leaf.y > static_cast<float>(height)) {
    leaf.baseX = static_cast<float>(random.NextUniform() * width / 3.0);
    leaf.swayAmp = static_cast<float>(random.NextUniform() * kSwayRange + kSwayBase);
    leaf.phase = static_cast<float>(random.NextUniform() * kPhaseRange);
    leaf.y = kRespawnY;
    leaf.fallSpeed = FallSpeed(random.NextUniform());
    leaf.shown = static_cast<float>(RoundToInt(leaf.shown) ^ 1);
  }
  if (leaf.shown != 1.0f) return std::nullopt;

  LeafDraw draw;
  draw.px = RoundToInt(LeafX(leaf, width));
  draw.py = RoundToInt(leaf.y);
  draw.frame = RoundToInt(leaf.frame);
  draw.colour = RoundToInt(leaf.colour);

  leaf.frameTick = leaf.frameTick + 1.0f;
  if (leaf.frameTick > kTicksPerFrame) {
    leaf.frameTick = 0;
    if (leaf.spinDir == 0.0f) {
      leaf.frame = leaf.frame + 1.0f;
      if (leaf.frame > kLastFrame) leaf.frame = 0;
    } else {
      leaf.frame = leaf.frame - 1.0f;
      if (leaf.frame < 0.0f) leaf.frame = kLastFrame;
    }
  }
  return draw;
}

}  // namespace kovaren::saver
