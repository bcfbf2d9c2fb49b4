// What the X11 program (an xscreensaver "hack") is told to do: where it draws, the leaf count, the
// music file and the seed. The saver's own record; start-up fills it from the switches.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "settings_file/leaf_count.h"

namespace kovaren::saver {

// Where the leaves are drawn.
enum class HackTarget {
  OwnWindow,      // a window of its own on the desktop (the default, "--window")
  FullScreen,     // a window of its own over every monitor ("--fullscreen")
  HandedWindow,   // the window a daemon or locker hands over in $XSCREENSAVER_WINDOW ("--root")
  RootWindow,     // "--root" with no window handed over: the screen's root window
  PreviewWindow,  // the settings dialog's preview ("--window-id ID")
};

struct HackOptions {
  HackTarget target = HackTarget::OwnWindow;
  unsigned long windowId = 0;    // HandedWindow and PreviewWindow: the X window id
  int leafCount = kLeafCounts.byDefault;  // as the settings' "もみじ": the saver keeps count + 1 leaves
  std::string musicFile;         // empty: no music
  std::optional<uint64_t> seed;  // none: seeded from the time of day, as on Windows
  bool help = false;
};

}  // namespace kovaren::saver
