#include "music/loop_watch.h"

namespace kovaren::music {

bool LoopWatch::KeepLooping(int64_t playedMs) {
  emptyInARow_ = playedMs < kShortestLoopMs ? emptyInARow_ + 1 : 0;
  return emptyInARow_ < kEmptyLoopsToStop;
}

}  // namespace kovaren::music
