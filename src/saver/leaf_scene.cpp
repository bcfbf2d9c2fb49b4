// The compositor. A pass restores the snapshot only under the boxes of leaves whose drawing changed
// (their old and new 32 x 32 boxes) and redraws, in index order, every leaf touching a restored box,
// clipped to it, so overlaps come out exactly as a whole-frame rebuild would draw them.
#include "saver/leaf_scene.h"

#include <algorithm>

namespace kovaren::saver {
namespace {

constexpr int kGridCell = 64;  // pixels; a sprite box touches at most 2 x 2 cells

Rect BoxOf(const LeafDraw& d) { return {d.px, d.py, kLeafSize, kLeafSize}; }

long long Area(const Rect& r) { return r.empty() ? 0 : static_cast<long long>(r.w) * r.h; }

}  // namespace

void CompositeLeaf(PixelBuffer& frame, const SpriteSet& sprites, const LeafDraw& draw, const Rect& clip) {
  if (draw.frame < 0 || draw.frame >= kLeafFrames || draw.colour < 0 || draw.colour >= kLeafColours) return;
  const PixelBuffer& mask = sprites.masks[draw.frame];
  const PixelBuffer& colour = sprites.colours[draw.colour][draw.frame];
  if (mask.width() != kLeafSize || mask.height() != kLeafSize || colour.width() != kLeafSize ||
      colour.height() != kLeafSize) {
    return;  // not a usable sprite: draw nothing rather than read past it
  }
  const Rect c = Intersect(Intersect(BoxOf(draw), clip), frame.bounds());
  if (c.empty()) return;
  // The AND of the mask and the XOR of the colour frame fused into one sweep: the same pixels as
  // the two raster operations one after the other, at half the memory traffic. Whole sprite rows
  // (the common case) take a fixed-length loop the compiler can vectorise.
  const int sx = c.x - draw.px, sy = c.y - draw.py;
  for (int y = 0; y < c.h; ++y) {
    Pixel* __restrict out = frame.row(c.y + y) + c.x;
    const Pixel* __restrict m = mask.row(sy + y) + sx;
    const Pixel* __restrict s = colour.row(sy + y) + sx;
    if (c.w == kLeafSize) {
      for (int x = 0; x < kLeafSize; ++x) out[x] = (out[x] & m[x]) ^ s[x];
    } else {
      for (int x = 0; x < c.w; ++x) out[x] = (out[x] & m[x]) ^ s[x];
    }
  }
}

LeafScene::LeafScene(PixelBuffer snapshot, SpriteSet sprites, int leafCount, std::unique_ptr<RandomSource> random)
    : snapshot_(std::move(snapshot)), frame_(snapshot_), sprites_(std::move(sprites)), random_(std::move(random)) {
  leaves_ = StartLeaves(leafCount, snapshot_.width(), snapshot_.height(), *random_);
  previousOf_.assign(leaves_.size(), -1);
  currentOf_.assign(leaves_.size(), -1);
  opaque_ = CheckSpriteSet(sprites_).empty();
  if (opaque_) {
    for (int f = 0; f < kLeafFrames; ++f) {
      for (int y = 0; y < kLeafSize; ++y) {
        const int first = static_cast<int>(runs_.size());
        const Pixel* m = sprites_.masks[f].row(y);
        for (int x = 0; x < kLeafSize;) {
          if (m[x] != kMaskInside) { ++x; continue; }
          const int begin = x;
          while (x < kLeafSize && m[x] == kMaskInside) ++x;
          runs_.push_back({begin, x});
        }
        rowRuns_[f * kLeafSize + y] = {first, static_cast<int>(runs_.size())};
      }
    }
  }
  gridColumns_ = (snapshot_.width() + kGridCell - 1) / kGridCell;
  gridRows_ = (snapshot_.height() + kGridCell - 1) / kGridCell;
  grid_.resize(static_cast<size_t>(gridColumns_) * static_cast<size_t>(gridRows_));
}

void LeafScene::StepAll() {
  previous_.swap(draws_);
  previousOf_.swap(currentOf_);
  draws_.clear();
  const int w = width(), h = height();
  for (size_t i = 0; i < leaves_.size(); ++i) {
    currentOf_[i] = -1;
    if (auto draw = StepLeaf(leaves_[i], w, h, *random_)) {
      currentOf_[i] = static_cast<int>(draws_.size());
      draws_.push_back({BoxOf(*draw), *draw});
    }
  }
}

void LeafScene::DrawLeaf(const Drawn& leaf, const Rect& clip) {
  if (!opaque_) {
    CompositeLeaf(frame_, sprites_, leaf.draw, clip);
    return;
  }
  const LeafDraw& d = leaf.draw;
  if (d.frame < 0 || d.frame >= kLeafFrames || d.colour < 0 || d.colour >= kLeafColours) return;
  const Rect c = Intersect(Intersect(leaf.box, clip), frame_.bounds());
  if (c.empty()) return;
  const Pixel colour = kLeafColourValues[d.colour];
  const int left = c.x - d.px, right = c.right() - d.px;  // sprite columns inside the clip
  for (int y = c.y; y < c.bottom(); ++y) {
    const auto [first, last] = rowRuns_[d.frame * kLeafSize + (y - d.py)];
    Pixel* out = frame_.row(y) + d.px;
    for (int i = first; i < last; ++i) {
      const int b = std::max(runs_[i].begin, left), e = std::min(runs_[i].end, right);
      if (b < e) std::fill(out + b, out + e, colour);
    }
  }
}

std::span<const Rect> LeafScene::RunFullFramePass() {
  StepAll();
  // The plain way, with the plain raster operations: a whole-frame copy, then per leaf the mask
  // with AND and the colour frame with XOR.
  Blit(frame_, 0, 0, snapshot_, RasterOp::Copy);
  for (const Drawn& d : draws_) {
    if (d.draw.frame < 0 || d.draw.frame >= kLeafFrames || d.draw.colour < 0 || d.draw.colour >= kLeafColours) continue;
    Blit(frame_, d.draw.px, d.draw.py, sprites_.masks[d.draw.frame], RasterOp::And);
    Blit(frame_, d.draw.px, d.draw.py, sprites_.colours[d.draw.colour][d.draw.frame], RasterOp::Xor);
  }
  dirty_.assign(1, frame_.bounds());
  return dirty_;
}

std::span<const Rect> LeafScene::RunPass() {
  StepAll();
  const Rect bounds = frame_.bounds();

  // What changed: per leaf, the old box and the new one (merged when that costs no more area).
  dirty_.clear();
  for (size_t i = 0; i < leaves_.size(); ++i) {
    const int was = previousOf_[i], is = currentOf_[i];
    if (was < 0 && is < 0) continue;
    if (was >= 0 && is >= 0 && previous_[was].draw == draws_[is].draw) continue;  // drawn exactly as before
    const Rect oldBox = was >= 0 ? Intersect(previous_[was].box, bounds) : Rect{};
    const Rect newBox = is >= 0 ? Intersect(draws_[is].box, bounds) : Rect{};
    const Rect both = Union(oldBox, newBox);
    if (Area(both) <= Area(oldBox) + Area(newBox)) {
      if (!both.empty()) dirty_.push_back(both);
    } else {
      if (!oldBox.empty()) dirty_.push_back(oldBox);
      if (!newBox.empty()) dirty_.push_back(newBox);
    }
  }
  if (dirty_.empty()) return dirty_;

  // Index this pass's boxes by grid cell.
  for (auto& cell : grid_) cell.clear();
  for (size_t j = 0; j < draws_.size(); ++j) {
    const Rect b = Intersect(draws_[j].box, bounds);
    if (b.empty()) continue;
    for (int gy = b.y / kGridCell; gy <= (b.bottom() - 1) / kGridCell; ++gy) {
      for (int gx = b.x / kGridCell; gx <= (b.right() - 1) / kGridCell; ++gx) {
        grid_[static_cast<size_t>(gy) * gridColumns_ + gx].push_back(static_cast<int>(j));
      }
    }
  }

  // Restore each box and redraw every leaf touching it, lowest index first. Boxes may overlap; each
  // one ends exact on its own, so the order of boxes does not matter.
  for (const Rect& r : dirty_) {
    Blit(frame_, r.x, r.y, snapshot_, r, RasterOp::Copy);
    candidates_.clear();
    for (int gy = r.y / kGridCell; gy <= (r.bottom() - 1) / kGridCell; ++gy) {
      for (int gx = r.x / kGridCell; gx <= (r.right() - 1) / kGridCell; ++gx) {
        const auto& cell = grid_[static_cast<size_t>(gy) * gridColumns_ + gx];
        candidates_.insert(candidates_.end(), cell.begin(), cell.end());
      }
    }
    std::sort(candidates_.begin(), candidates_.end());
    candidates_.erase(std::unique(candidates_.begin(), candidates_.end()), candidates_.end());
    for (int j : candidates_) {
      if (!Intersect(draws_[j].box, r).empty()) DrawLeaf(draws_[j], r);
    }
  }
  return dirty_;
}

}  // namespace kovaren::saver
