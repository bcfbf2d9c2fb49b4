// Which picture the X11 program's leaves fall over. A daemon that hands over its window may offer a
// screenshot of the desktop it covers; a locker offers none on purpose (a lock screen must not show
// what it hides), so a window handed over without one gets a plain dark backdrop and never a grab of
// the screen. Only a window of the program's own shows the screen as it was before the window mapped.
#pragma once
#include "gfx/pixel_buffer.h"
#include "saver/hack_options.h"

namespace kovaren::saver {

enum class HackBackdrop {
  DaemonScreenshot,  // the picture the daemon stored with the window
  ScreenBeforeMap,   // the screen under the window, read before the window shows
  Dark,              // kDarkBackdrop
};

constexpr Pixel kDarkBackdrop = Rgb(0, 0, 0);

HackBackdrop ChooseBackdrop(HackTarget target, bool screenshotOffered);

}  // namespace kovaren::saver
