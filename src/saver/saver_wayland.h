// The Wayland program's saver: one overlay layer surface per output (--fullscreen) or one window of
// its own, leaves over each output's picture as it was, paced by the compositor's frame callbacks,
// until a key, a click, a signal, the compositor's end or the surface's close ends it.
#pragma once
#include "saver/hack_options.h"

namespace kovaren::wayland {

// The exit status: 0 when it ended as asked, 1 when it could not start (no compositor, no
// layer-shell for --fullscreen).
int RunSaver(const saver::HackOptions& options);

}  // namespace kovaren::wayland
