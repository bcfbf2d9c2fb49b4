// Tells a song that loops from one that can no longer play: a file made broken while it plays ends
// each loop as soon as it starts again, and a player that restarted it at every end would spin a core
// for as long as the saver runs. Fed how long each loop played; says whether to start it again.
// Portable: the X11 program's player feeds it from its bus, a test from a table.
#pragma once
#include <cstdint>

namespace kovaren::music {

constexpr int64_t kShortestLoopMs = 100;  // a loop that ended sooner played nothing worth hearing
constexpr int kEmptyLoopsToStop = 3;      // in a row: one short loop (a seek that landed at the end) is forgiven

class LoopWatch {
 public:
  // A loop ended after `playedMs` of wall-clock time since it started (a freeze only lengthens it);
  // true when the song should start again, false when the music should stop for good.
  bool KeepLooping(int64_t playedMs);

 private:
  int emptyInARow_ = 0;
};

}  // namespace kovaren::music
