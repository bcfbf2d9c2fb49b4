// The saver's picture: the desktop snapshot, the frame being shown, the leaves and their sprites.
// RunPass() advances every leaf one pass and brings the frame up to date by restoring and redrawing
// only the pixels under boxes that changed; it reports them so the shell presents just those. The scene never
// reads the clock and never sleeps: pacing belongs to the shell. At scale s the leaves move in logical
// pixels (the frame's width and height divided by s) and every sprite pixel is drawn as an s x s block,
// so a leaf looks and moves on a high-DPI monitor as it does at 96 DPI on a screen of the same size.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "gfx/pixel_buffer.h"
#include "saver/leaf.h"
#include "saver/sprites.h"

namespace kovaren::saver {

class LeafScene {
 public:
  // snapshot: the background (its size is the frame size). leafCount: as in the settings
  // (leafCount + 1 leaves, none below 0). scale: the magnification, 1..kMaxLeafScale (clamped; also
  // to the frame's width and height, so the leaves have at least one logical pixel to move in). The
  // frame starts as the bare snapshot.
  LeafScene(PixelBuffer snapshot, SpriteSet sprites, int leafCount, std::unique_ptr<RandomSource> random,
            int scale = 1);

  // One pass: step every leaf in index order and update the frame incrementally. Returns the
  // rectangles (inside the frame, not overlapping) whose pixels may have changed; presenting them
  // brings a screen showing the previous frame up to this one. Valid until the next pass.
  std::span<const Rect> RunPass();

  // The same pass done the plain way: clear the whole frame to the snapshot and draw every shown
  // leaf. Returns one rectangle, the whole frame. Frames equal RunPass()'s pass for pass.
  std::span<const Rect> RunFullFramePass();

  // The frame drawn so far: the scene's own buffer, or the storage given to DrawInto.
  ConstPixelView frame() const { return storage_.empty() ? ConstPixelView(ownFrame_) : storage_; }
  // From now on the frame lives in `storage` (the frame's size; the caller keeps it alive, and lets
  // nothing else write it, while the scene draws there): the frame so far is copied into it, and
  // passes draw there, so a shell whose window shows such storage has nothing left to copy. An empty
  // view takes the frame back into the scene's own buffer (copied from the storage, which must still
  // be alive). Storage of another size is refused (false), and the frame stays where it was.
  bool DrawInto(PixelView storage);
  const PixelBuffer& snapshot() const { return snapshot_; }
  std::span<const Leaf> leaves() const { return leaves_; }
  int width() const { return snapshot_.width(); }
  int height() const { return snapshot_.height(); }
  int scale() const { return scale_; }
  // The size the leaves move in: the frame's size divided by the scale, rounded down. The leftover
  // columns and rows at the right and bottom (fewer than the scale) still show the parts of leaves
  // that reach them.
  int logicalWidth() const { return logicalWidth_; }
  int logicalHeight() const { return logicalHeight_; }
  // Leaves drawn in the last pass.
  int shownCount() const { return static_cast<int>(draws_.size()); }

 private:
  struct Drawn {
    Rect box;  // tight box in frame coordinates (may extend past the frame)
    LeafDraw draw;
    bool changed = false;  // drawn otherwise than in the last pass (or not drawn then)
  };
  // The part of a leaf's sprite box its drawing can change: the tight box of its frame's
  // silhouette (and of anything else its mask or colours would alter), magnified.
  Rect BoxOf(const LeafDraw& d) const;
  PixelView Target() { return storage_.empty() ? PixelView(ownFrame_) : storage_; }
  void StepAll();
  void DrawLeafRow(const LeafDraw& draw, int y, int x0, int x1);
  void DrawWholeLeaf(const LeafDraw& draw, const Rect& c);
  // The dirty mask holds one bit per frame pixel; a window is up to 64 bits of one row from x on.
  // Boxes wider than a window (magnified leaves) are handled in strips of up to 64 columns.
  uint64_t* MaskRow(int y) { return dirtyBits_.data() + static_cast<size_t>(y) * wordsPerRow_; }
  uint64_t MaskWindow(int y, int x, int count);
  void RestoreBox(const Rect& box);
  void RestoreStrip(const Rect& strip);
  void RedrawLeaves();
  void ClearMask();

  PixelBuffer snapshot_;
  PixelBuffer ownFrame_;  // kept while the frame is elsewhere, so taking it back cannot fail
  // Per snapshot row: its one colour where every pixel has it (a plain or dark backdrop), else
  // kMixedRow. Such rows are restored by a fill, with nothing to load from the snapshot.
  static constexpr Pixel kMixedRow = 0xFF000000;  // never a snapshot pixel: their top byte is clear
  std::vector<Pixel> rowColour_;
  PixelView storage_;     // empty: the frame is ownFrame_
  PixelView frame_;       // where this pass draws (set as a pass begins)
  SpriteSet sprites_;
  std::unique_ptr<RandomSource> random_;
  int scale_ = 1;
  int logicalWidth_ = 0;
  int logicalHeight_ = 0;
  std::vector<Leaf> leaves_;
  std::vector<Drawn> draws_;      // this pass, in leaf index order
  std::vector<Drawn> previous_;   // last pass
  std::vector<Rect> dirty_;
  std::vector<int> previousOf_;   // per leaf index: its entry in previous_, or -1
  std::vector<int> currentOf_;
  // Leaves crowd where the sway turns, so changed boxes overlap a lot. The mask marks the pixels
  // restored so far in this pass: each is restored once, and each leaf is drawn once, clipped to it.
  int wordsPerRow_ = 0;              // including one spare word, so a window never runs past a row
  std::vector<uint64_t> dirtyBits_;  // row after row
  std::vector<Rect> boxes_;          // changed boxes of this pass, inside the frame
  // For a sound sprite set a leaf is opaque (its colour inside, the frame untouched outside), so it
  // is drawn as runs of one colour per row; otherwise the two raster operations are applied.
  struct Run {
    int begin, end;  // sprite columns [begin, end)
  };
  bool opaque_ = false;
  std::array<Rect, kLeafFrames> tight_{};  // per frame, sprite coordinates; empty when it alters nothing
  std::vector<Run> runs_;                                    // all frames' runs, row after row
  std::array<std::pair<int, int>, kLeafFrames * kLeafSize> rowRuns_{};  // per frame and row: [first, last) in runs_
};

// Draws one leaf the way the saver does: the mask with AND, then the colour frame with XOR, at
// (draw.px, draw.py) times `scale`, each sprite pixel an s x s block (the two operations applied to
// every pixel of the block, so no colour appears that the sprites lack), limited to `clip` (frame
// coordinates).
void CompositeLeaf(PixelView frame, const SpriteSet& sprites, const LeafDraw& draw, const Rect& clip,
                   int scale = 1);

}  // namespace kovaren::saver
