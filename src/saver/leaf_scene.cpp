// The compositor. A pass restores the snapshot only under the boxes of leaves whose drawing changed
// (their old and new tight boxes: only the part of the 32 x 32 sprite its drawing alters) and
// redraws, in index order, every leaf over what it restored, clipped to it, so overlaps come out
// exactly as a whole-frame rebuild would draw them. A one-bit-per-pixel mask of what is restored
// keeps each pixel restored once and each leaf drawn once however many boxes meet there; it is set
// and cleared box by box, so a pass never sweeps the whole frame. The frame may live in storage the
// shell provides (a shared image), rows a stride apart.
// A magnified scene works the same way on its physical pixels: a leaf's box is its sprite's s x s
// blocks, and the sprite's runs are stretched by s.
#include "saver/leaf_scene.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace kovaren::saver {
namespace {

constexpr int kWordBits = 64;

constexpr uint64_t LowBits(int count) { return count >= kWordBits ? ~uint64_t{0} : (uint64_t{1} << count) - 1; }

// Copies a run of at most 64 pixels. A library call costs more in its call and size dispatch than
// such a run takes to move, so the run is split into fixed-size pieces, each a few vector moves
// (written without a loop, which the compiler would turn back into a library call).
template <int kPixels>
inline void CopyPiece(Pixel*& out, const Pixel*& in) {
  std::memcpy(out, in, kPixels * sizeof(Pixel));
  out += kPixels;
  in += kPixels;
}

inline void CopyRun(Pixel* out, const Pixel* in, int count) {
  if (count >= 32) { CopyPiece<32>(out, in); count -= 32; }
  if (count >= 32) { CopyPiece<32>(out, in); count -= 32; }
  if (count & 16) CopyPiece<16>(out, in);
  if (count & 8) CopyPiece<8>(out, in);
  if (count & 4) CopyPiece<4>(out, in);
  if (count & 2) CopyPiece<2>(out, in);
  if (count & 1) CopyPiece<1>(out, in);
}

// Fills a run of pixels with one colour, in fixed-size pieces for the same reason (a run is at most
// a sprite row, 32 pixels at scale 1, so the loop only turns for magnified leaves).
template <int kPixels>
inline void FillPiece(Pixel*& out, Pixel colour) {
  for (int i = 0; i < kPixels; ++i) out[i] = colour;
  out += kPixels;
}

inline void FillRun(Pixel* out, Pixel colour, int count) {
  for (; count > 32; count -= 32) FillPiece<32>(out, colour);
  if (count & 32) FillPiece<32>(out, colour);
  if (count & 16) FillPiece<16>(out, colour);
  if (count & 8) FillPiece<8>(out, colour);
  if (count & 4) FillPiece<4>(out, colour);
  if (count & 2) FillPiece<2>(out, colour);
  if (count & 1) FillPiece<1>(out, colour);
}

// Calls f(begin, end) for every run of set bits in `bits`.
template <typename F>
void ForEachRun(uint64_t bits, F&& f) {
  while (bits != 0) {
    const int begin = std::countr_zero(bits);
    const uint64_t clear = ~bits & (~uint64_t{0} << begin);
    const int end = clear == 0 ? kWordBits : std::countr_zero(clear);
    f(begin, end);
    if (end == kWordBits) return;
    bits &= ~uint64_t{0} << end;
  }
}

long long Area(const Rect& r) { return r.empty() ? 0 : static_cast<long long>(r.w) * r.h; }

constexpr Pixel kColourBits = 0xFFFFFF;  // a pixel's used bits; the top byte is never shown

// The smallest box holding every pixel a leaf drawn in `frame` alters: where the mask keeps less
// than every colour bit or some colour frame is not black. Outside it the two raster operations
// leave a frame pixel as it is.
Rect TightBox(const SpriteSet& sprites, int frame) {
  Rect box;
  const PixelBuffer& mask = sprites.masks[frame];
  for (int y = 0; y < kLeafSize; ++y) {
    for (int x = 0; x < kLeafSize; ++x) {
      bool alters = (mask.at(x, y) & kColourBits) != kColourBits;
      for (int c = 0; c < kLeafColours && !alters; ++c) alters = sprites.colours[c][frame].at(x, y) != 0;
      if (alters) box = Union(box, Rect{x, y, 1, 1});
    }
  }
  return box;
}

// Per row: its colour where the whole row has one, else `mixed`.
std::vector<Pixel> PlainRowColours(const PixelBuffer& pixels, Pixel mixed) {
  std::vector<Pixel> colours(static_cast<size_t>(std::max(pixels.height(), 0)), mixed);
  if (pixels.width() <= 0) return colours;
  for (int y = 0; y < pixels.height(); ++y) {
    const Pixel* row = pixels.row(y);
    if (std::all_of(row, row + pixels.width(), [&](Pixel p) { return p == row[0]; })) colours[y] = row[0];
  }
  return colours;
}

// The snapshot without top-byte bits, so a pixel no leaf reaches equals one a leaf's mask passed
// over (the AND clears those bits).
PixelBuffer ColourBitsOnly(PixelBuffer pixels) {
  for (int y = 0; y < pixels.height(); ++y) {
    Pixel* row = pixels.row(y);
    for (int x = 0; x < pixels.width(); ++x) row[x] &= kColourBits;
  }
  return pixels;
}

}  // namespace

void CompositeLeaf(PixelView frame, const SpriteSet& sprites, const LeafDraw& draw, const Rect& clip, int scale) {
  if (draw.frame < 0 || draw.frame >= kLeafFrames || draw.colour < 0 || draw.colour >= kLeafColours) return;
  const PixelBuffer& mask = sprites.masks[draw.frame];
  const PixelBuffer& colour = sprites.colours[draw.colour][draw.frame];
  if (mask.width() != kLeafSize || mask.height() != kLeafSize || colour.width() != kLeafSize ||
      colour.height() != kLeafSize) {
    return;  // not a usable sprite: draw nothing rather than read past it
  }
  if (scale < 1 || scale > kMaxLeafScale) return;
  const Rect box{draw.px * scale, draw.py * scale, kLeafSize * scale, kLeafSize * scale};
  const Rect c = Intersect(Intersect(box, clip), frame.bounds());
  if (c.empty()) return;
  if (scale != 1) {
    // Each frame pixel takes the sprite pixel whose block it lies in: nearest-neighbour magnification.
    for (int y = c.y; y < c.bottom(); ++y) {
      Pixel* out = frame.row(y);
      const Pixel* m = mask.row((y - box.y) / scale);
      const Pixel* s = colour.row((y - box.y) / scale);
      for (int x = c.x; x < c.right(); ++x) {
        const int sx = (x - box.x) / scale;
        out[x] = (out[x] & m[sx]) ^ s[sx];
      }
    }
    return;
  }
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

LeafScene::LeafScene(PixelBuffer snapshot, SpriteSet sprites, int leafCount, std::unique_ptr<RandomSource> random,
                     int scale)
    : snapshot_(ColourBitsOnly(std::move(snapshot))),
      ownFrame_(snapshot_),
      rowColour_(PlainRowColours(snapshot_, kMixedRow)),
      sprites_(std::move(sprites)),
      random_(std::move(random)) {
  scale_ = std::clamp(scale, 1, kMaxLeafScale);
  scale_ = std::max(1, std::min({scale_, snapshot_.width(), snapshot_.height()}));
  logicalWidth_ = snapshot_.width() / scale_;
  logicalHeight_ = snapshot_.height() / scale_;
  leaves_ = StartLeaves(leafCount, logicalWidth_, logicalHeight_, *random_);
  previousOf_.assign(leaves_.size(), -1);
  currentOf_.assign(leaves_.size(), -1);
  opaque_ = CheckSpriteSet(sprites_).empty();
  const auto sized = [](const PixelBuffer& p) { return p.width() == kLeafSize && p.height() == kLeafSize; };
  const bool usable = std::all_of(sprites_.masks.begin(), sprites_.masks.end(), sized) &&
                      std::all_of(sprites_.colours.begin(), sprites_.colours.end(), [&](const auto& set) {
                        return std::all_of(set.begin(), set.end(), sized);
                      });
  for (int f = 0; f < kLeafFrames; ++f) tight_[f] = usable ? TightBox(sprites_, f) : Rect{};
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
  wordsPerRow_ = (std::max(snapshot_.width(), 0) + kWordBits - 1) / kWordBits + 1;
  dirtyBits_.assign(static_cast<size_t>(wordsPerRow_) * static_cast<size_t>(std::max(snapshot_.height(), 0)), 0);
}

bool LeafScene::DrawInto(PixelView storage) {
  const ConstPixelView now = frame();
  if (storage.empty()) {
    if (!storage_.empty()) Blit(ownFrame_, 0, 0, now, RasterOp::Copy);
    storage_ = {};
    return true;
  }
  if (storage.width() != ownFrame_.width() || storage.height() != ownFrame_.height()) return false;
  Blit(storage, 0, 0, now, RasterOp::Copy);
  storage_ = storage;
  return true;
}

Rect LeafScene::BoxOf(const LeafDraw& d) const {
  if (d.frame < 0 || d.frame >= kLeafFrames) return {};
  const Rect& t = tight_[d.frame];
  if (t.empty()) return {};
  const int s = scale_;
  return {(d.px + t.x) * s, (d.py + t.y) * s, t.w * s, t.h * s};
}

void LeafScene::StepAll() {
  frame_ = Target();
  previous_.swap(draws_);
  previousOf_.swap(currentOf_);
  draws_.clear();
  const int w = logicalWidth_, h = logicalHeight_;
  for (size_t i = 0; i < leaves_.size(); ++i) {
    currentOf_[i] = -1;
    if (auto draw = StepLeaf(leaves_[i], w, h, *random_)) {
      currentOf_[i] = static_cast<int>(draws_.size());
      draws_.push_back({BoxOf(*draw), *draw, false});
    }
  }
}

// Columns [x0, x1) of row y, all inside the frame and the leaf's box; the sprite indices are valid.
inline void LeafScene::DrawLeafRow(const LeafDraw& d, int y, int x0, int x1) {
  if (!opaque_) {
    CompositeLeaf(frame_, sprites_, d, {x0, y, x1 - x0, 1}, scale_);
    return;
  }
  const Pixel colour = kLeafColourValues[d.colour];
  const int s = scale_;
  const int boxX = d.px * s;
  const int left = x0 - boxX, right = x1 - boxX;  // columns inside the (magnified) box
  const int row = s == 1 ? y - d.py : (y - d.py * s) / s;  // no division in the usual case
  const auto [first, last] = rowRuns_[d.frame * kLeafSize + row];
  Pixel* out = frame_.row(y) + boxX;
  for (int i = first; i < last; ++i) {
    const int b = std::max(runs_[i].begin * s, left), e = std::min(runs_[i].end * s, right);
    if (b < e) FillRun(out + b, colour, e - b);
  }
}

// The rows of `c` (inside the frame and the leaf's box) at their full width: one call per leaf, not
// per row, and no clipping of the runs where `c` holds the leaf's whole width (nearly always).
void LeafScene::DrawWholeLeaf(const LeafDraw& d, const Rect& c) {
  const Rect& t = tight_[d.frame];
  if (!opaque_ || scale_ != 1 || c.x > d.px + t.x || c.right() < d.px + t.right()) {
    for (int y = c.y; y < c.bottom(); ++y) DrawLeafRow(d, y, c.x, c.right());
    return;
  }
  const Pixel colour = kLeafColourValues[d.colour];
  const std::pair<int, int>* rowRuns = &rowRuns_[static_cast<size_t>(d.frame * kLeafSize + (c.y - d.py))];
  Pixel* out = frame_.row(c.y) + d.px;
  const ptrdiff_t stride = frame_.stride();
  for (int y = c.y; y < c.bottom(); ++y, ++rowRuns, out += stride) {
    for (int i = rowRuns->first; i < rowRuns->second; ++i) {
      FillRun(out + runs_[i].begin, colour, runs_[i].end - runs_[i].begin);
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
    if (scale_ != 1) {
      CompositeLeaf(frame_, sprites_, d.draw, frame_.bounds(), scale_);
      continue;
    }
    Blit(frame_, d.draw.px, d.draw.py, sprites_.masks[d.draw.frame], RasterOp::And);
    Blit(frame_, d.draw.px, d.draw.py, sprites_.colours[d.draw.colour][d.draw.frame], RasterOp::Xor);
  }
  dirty_.assign(1, frame_.bounds());
  return dirty_;
}

uint64_t LeafScene::MaskWindow(int y, int x, int count) {
  const uint64_t* word = MaskRow(y) + x / kWordBits;
  const int shift = x % kWordBits;
  uint64_t bits = word[0] >> shift;
  if (shift != 0) bits |= word[1] << (kWordBits - shift);
  return bits & LowBits(count);
}

// A box of any width (a magnified leaf's is up to 8 x 32 + its move), in strips of one mask window.
void LeafScene::RestoreBox(const Rect& box) {
  for (int x = box.x; x < box.right(); x += kWordBits) {
    RestoreStrip({x, box.y, std::min(kWordBits, box.right() - x), box.h});
  }
}

// Restores the pixels of `box` (inside the frame, at most 64 wide) not restored yet in this pass,
// marks them, and reports them: per row their runs, rows with the same runs joined.
void LeafScene::RestoreStrip(const Rect& box) {
  const uint64_t all = LowBits(box.w);
  const int shift = box.x % kWordBits;
  uint64_t* mask = MaskRow(box.y) + box.x / kWordBits;
  Pixel* out = frame_.row(box.y) + box.x;
  const Pixel* in = snapshot_.row(box.y) + box.x;
  const ptrdiff_t outStride = frame_.stride(), inStride = snapshot_.stride();
  uint64_t above = 0;           // fresh bits of the rows since `since`
  int since = box.y;
  size_t open = dirty_.size();  // their rectangles start here
  const auto close = [&](int y) {
    for (size_t i = open; i < dirty_.size(); ++i) dirty_[i].h = y - since;
  };
  for (int y = box.y; y < box.bottom(); ++y, mask += wordsPerRow_, out += outStride, in += inStride) {
    uint64_t taken = mask[0] >> shift;
    if (shift != 0) taken |= mask[1] << (kWordBits - shift);
    const uint64_t fresh = ~taken & all;
    if (fresh != above) {
      close(y);
      above = fresh;
      since = y;
      open = dirty_.size();
      ForEachRun(fresh, [&](int b, int e) { dirty_.push_back({box.x + b, y, e - b, 0}); });
    }
    if (fresh == 0) continue;
    mask[0] |= fresh << shift;
    if (shift != 0) mask[1] |= fresh >> (kWordBits - shift);
    const Pixel plain = rowColour_[y];
    if (plain != kMixedRow) {
      if (fresh == all) {
        FillRun(out, plain, box.w);
      } else {
        ForEachRun(fresh, [&](int b, int e) { FillRun(out + b, plain, e - b); });
      }
    } else if (fresh == all) {
      CopyRun(out, in, box.w);
    } else {
      ForEachRun(fresh, [&](int b, int e) { CopyRun(out + b, in + b, e - b); });
    }
  }
  close(box.bottom());
}

// Every shown leaf, in index order, over the restored pixels. A changed leaf's whole box was
// restored; an unchanged one is drawn only where the mask says.
void LeafScene::RedrawLeaves() {
  const Rect bounds = frame_.bounds();
  for (const Drawn& leaf : draws_) {
    const LeafDraw& d = leaf.draw;
    if (d.frame < 0 || d.frame >= kLeafFrames || d.colour < 0 || d.colour >= kLeafColours) continue;
    const Rect c = Intersect(leaf.box, bounds);
    if (c.empty()) continue;
    if (leaf.changed) {
      DrawWholeLeaf(d, c);
      continue;
    }
    for (int x = c.x; x < c.right(); x += kWordBits) {
      const int w = std::min(kWordBits, c.right() - x);
      const uint64_t all = LowBits(w);
      for (int y = c.y; y < c.bottom(); ++y) {
        const uint64_t bits = MaskWindow(y, x, w);
        if (bits == 0) continue;
        if (bits == all) {
          DrawLeafRow(d, y, x, x + w);
          continue;
        }
        ForEachRun(bits, [&](int b, int e) { DrawLeafRow(d, y, x + b, x + e); });
      }
    }
  }
}

void LeafScene::ClearMask() {
  for (const Rect& box : boxes_) {
    for (int x = box.x; x < box.right(); x += kWordBits) {
      const uint64_t all = LowBits(std::min(kWordBits, box.right() - x));
      const int shift = x % kWordBits;
      const uint64_t low = ~(all << shift), high = shift != 0 ? ~(all >> (kWordBits - shift)) : ~uint64_t{0};
      for (int y = box.y; y < box.bottom(); ++y) {
        uint64_t* word = MaskRow(y) + x / kWordBits;
        word[0] &= low;
        word[1] &= high;
      }
    }
  }
  boxes_.clear();
}

std::span<const Rect> LeafScene::RunPass() {
  StepAll();
  const Rect bounds = frame_.bounds();
  // What changed: per leaf drawn otherwise than in the last pass, its old box and its new one
  // (as one box when that costs no more area; at scale 1 it is then at most 64 wide).
  dirty_.clear();
  for (size_t i = 0; i < leaves_.size(); ++i) {
    const int was = previousOf_[i], is = currentOf_[i];
    if (was < 0 && is < 0) continue;
    if (was >= 0 && is >= 0 && previous_[was].draw == draws_[is].draw) continue;  // drawn exactly as before
    if (is >= 0) draws_[is].changed = true;
    const Rect oldBox = was >= 0 ? Intersect(previous_[was].box, bounds) : Rect{};
    const Rect newBox = is >= 0 ? Intersect(draws_[is].box, bounds) : Rect{};
    const Rect both = Union(oldBox, newBox);
    if (Area(both) <= Area(oldBox) + Area(newBox)) {
      if (!both.empty()) boxes_.push_back(both);
    } else {
      if (!oldBox.empty()) boxes_.push_back(oldBox);
      if (!newBox.empty()) boxes_.push_back(newBox);
    }
  }
  for (size_t i = 0; i < boxes_.size(); ++i) {
    RestoreBox(boxes_[i]);
  }
  if (!boxes_.empty()) {
    RedrawLeaves();
    ClearMask();
  }
  return dirty_;
}

}  // namespace kovaren::saver
