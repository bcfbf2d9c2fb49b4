// The Linux program's names, and the size of a window of its own on the desktop (--window): half the
// monitor it opens on each way, never smaller than a size the leaves still fall in. Both Linux shells
// open it alike.
#pragma once
#include <algorithm>

namespace kovaren::saver {

inline constexpr char kProgramName[] = "kovaren";    // the command, and the name its errors go by
inline constexpr char kOwnWindowName[] = "Kovaren";  // its window's title (and X11 class)
inline constexpr int kOwnWindowMinWidth = 320;
inline constexpr int kOwnWindowMinHeight = 240;

struct WindowSize {
  int w = 0;
  int h = 0;
  friend bool operator==(const WindowSize&, const WindowSize&) = default;
};

// `monitorW` x `monitorH`: the monitor's size in the window's units; 0 x 0 when there is none.
constexpr WindowSize OwnWindowSize(int monitorW, int monitorH) {
  return {std::max(monitorW / 2, kOwnWindowMinWidth), std::max(monitorH / 2, kOwnWindowMinHeight)};
}

}  // namespace kovaren::saver
