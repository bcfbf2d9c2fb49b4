// What each of a surface's buffers lacks of the current frame. A compositor may hold on to several
// buffers at once (sway keeps old ones while a transaction is pending), so a buffer written again
// must be brought up to date with everything that changed since it was last written, not only with
// the last pass. Its damage is less: only what differs from the surface's current contents, the
// buffer committed last, i.e. what changed since that commit.
#pragma once
#include <span>
#include <vector>

#include "gfx/pixel_buffer.h"

namespace kovaren::wayland {

// Beyond this many rectangles a buffer's list is replaced by the whole frame: that many leaf boxes
// cover about as much as the frame, and the list must not grow while a buffer stays busy.
constexpr size_t kMaxStaleRects = 4096;

class StaleRegions {
 public:
  // `buffers` buffers of frames the size of `bounds`, every one stale all over at first.
  StaleRegions(int buffers, const Rect& bounds);

  // The frame changed under `rects` (frame coordinates): every buffer lacks them now.
  void Changed(std::span<const Rect> rects);
  // The whole frame changed (a backdrop of its own, a first frame).
  void ChangedAll();
  struct Update {
    std::vector<Rect> copy;    // what the buffer lacks: copy it from the frame
    std::vector<Rect> damage;  // what changed since the last commit: damage it when committing
  };
  // The update that brings buffer `index` up to date for its commit; from then on it lacks nothing
  // and nothing has changed since the commit. Rectangles lie inside the frame.
  Update Take(int index);
  const Rect& bounds() const { return bounds_; }

 private:
  Rect bounds_;
  std::vector<std::vector<Rect>> stale_;  // per buffer
  std::vector<Rect> sinceCommit_{};       // the last commit's buffer is the first one stale
  bool committed_ = false;
};

}  // namespace kovaren::wayland
