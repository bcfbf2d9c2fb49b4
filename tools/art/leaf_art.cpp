// The 17 poses of a five-pointed maple leaf with a stem, tumbling as it falls: each pose turns the flat
// leaf in 3-D (foreshortening it across one direction, nearly edge-on in frame 4) and rotates it in the
// picture plane; orthographic projection, one sample per pixel centre, no anti-aliasing.
#include "art/leaf_art.h"

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

#include "art/art.h"
#include "art/drawing.h"
#include "gfx/bmp.h"

namespace kovaren::art {
namespace {

using saver::kLeafFrames;
using saver::kLeafSize;
constexpr double kPi = std::numbers::pi;

// The leaf's outline in its own plane, unit scale, blade centred near the origin, stem pointing down
// (+y is down). Five pointed lobes (top, two upper, two small lower), toothed edges, deep sinuses.
std::vector<Point> LeafOutline() {
  struct Lobe {
    double angle;      // direction of the tip, radians, 0 = up
    double length;     // tip distance
    double halfWidth;  // angular half width of the lobe
  };
  const Lobe lobes[] = {
      {0.0, 1.0, 0.62},           {0.98, 0.93, 0.58},  {-0.98, 0.93, 0.58},
      {2.02, 0.58, 0.50},         {-2.02, 0.58, 0.50},
  };
  constexpr int kSteps = 720;
  constexpr double kSinus = 0.30;  // radius at the bottom of the cuts between lobes
  std::vector<Point> outline;
  for (int i = 0; i < kSteps; ++i) {
    const double t = -kPi + 2 * kPi * i / kSteps;
    double r = kSinus;
    for (const Lobe& lobe : lobes) {
      const double d = std::abs(t - lobe.angle) / lobe.halfWidth;
      if (d >= 1) continue;
      // Straight-sided, pointed lobes that widen at the base, with a few saw teeth on the flanks.
      const double profile = kSinus + (lobe.length - kSinus) * std::pow(1 - d, 1.15);
      const double teeth = 0.07 * lobe.length * std::abs(std::sin(d * kPi * 3.0)) * (d > 0.15 ? 1 : 0);
      r = std::max(r, profile + teeth * (1 - d));
    }
    // The base of the blade between the two lower lobes, around the stem, is gently rounded.
    if (std::abs(std::abs(t) - kPi) < 0.6) r = std::max(r, 0.36);
    outline.push_back({r * std::sin(t), -r * std::cos(t)});
  }
  return outline;
}



struct Pose {
  double turn;      // 3-D turn about the leaf's own axis at `axis`: foreshortening factor cos(turn)
  double axis;      // direction (in the leaf plane) of the turning axis, radians
  double rotation;  // in-plane rotation of the projected leaf, radians
};

// One full tumble over the 17 frames: the turn swings through edge-on at frame 4 and face-on about
// half a cycle later, while the leaf rotates once in the picture plane.
Pose PoseOf(int frame) {
  const double cycle = 2 * kPi * (frame - 4) / kLeafFrames;
  Pose pose;
  pose.turn = 1.10 * (0.5 + 0.5 * std::cos(cycle));  // 1.10 rad at frame 4: nearly edge-on
  pose.axis = 0.35 + 0.5 * std::sin(cycle);
  pose.rotation = 2 * kPi * frame / kLeafFrames + 0.4;
  return pose;
}

constexpr double kBladeScale = 15.4;  // pixels per outline unit
constexpr double kStemLength = 0.94;  // outline units from the centre, down
constexpr double kStemHalfWidth = 0.62;  // pixels

PixelBuffer DrawMask(const std::vector<Point>& outline, int frame) {
  const Pose pose = PoseOf(frame);
  const double ca = std::cos(pose.axis), sa = std::sin(pose.axis);
  const double fore = std::cos(pose.turn);
  const double cr = std::cos(pose.rotation), sr = std::sin(pose.rotation);
  // Leaf plane -> picture: rotate so the axis lies along x, squash y by the turn, rotate back and
  // then by the in-plane rotation, scale to pixels. The outline fits a unit circle, so the leaf
  // stays inside the sprite in every pose.
  auto project = [&](Point p) {
    const double u = p.x * ca + p.y * sa, v = (-p.x * sa + p.y * ca) * fore;
    const double x = u * ca - v * sa, y = u * sa + v * ca;
    return Point{(x * cr - y * sr) * kBladeScale, (x * sr + y * cr) * kBladeScale};
  };
  std::vector<Point> shape;
  shape.reserve(outline.size());
  for (Point p : outline) shape.push_back(project(p));
  const Point stemBase = project({0, 0.2}), stemTip = project({0.03, kStemLength});
  const Point centre = project({0, 0});
  PixelBuffer mask(kLeafSize, kLeafSize, saver::kMaskOutside);
  for (int y = 0; y < kLeafSize; ++y) {
    for (int x = 0; x < kLeafSize; ++x) {
      const Point p{x + 0.5 - kLeafSize / 2.0 + centre.x, y + 0.5 - kLeafSize / 2.0 + centre.y};
      if (Inside(shape, p) || DistanceToSegment(p, stemBase, stemTip) <= kStemHalfWidth) {
        mask.set(x, y, saver::kMaskInside);
      }
    }
  }
  return mask;
}

}  // namespace

std::array<PixelBuffer, kLeafFrames> DrawLeafMasks() {
  const std::vector<Point> outline = LeafOutline();
  std::array<PixelBuffer, kLeafFrames> masks;
  for (int f = 0; f < kLeafFrames; ++f) masks[f] = DrawMask(outline, f);
  return masks;
}

saver::SpriteSet DrawLeafSprites() { return saver::SpriteSetFromMasks(DrawLeafMasks()); }

std::vector<AssetFile> DrawLeafAssets() {
  const saver::SpriteSet sprites = DrawLeafSprites();
  std::vector<AssetFile> files;
  for (int s = 0; s <= saver::kMaskSet; ++s) {
    for (int f = 0; f < kLeafFrames; ++f) {
      const PixelBuffer& picture = s == saver::kMaskSet ? sprites.masks[f] : sprites.colours[s][f];
      files.push_back({"leaves/" + saver::SpriteName(s, f) + ".bmp", EncodeBmp24(picture)});
    }
  }
  return files;
}

}  // namespace kovaren::art
