// The desktop as it was: one output copied into a wl_shm buffer through the compositor's screencopy
// (taken before the saver's surfaces map, so they are not in it).
#pragma once
#include <optional>

#include "gfx/pixel_buffer.h"
#include "saver/globals_wayland.h"

namespace kovaren::wayland {

// Nothing when the compositor offers no screencopy, refuses the copy, offers no readable shm format
// or the connection fails; waits (dispatching the display) until the copy is done or failed.
std::optional<PixelBuffer> CaptureOutput(Globals& globals, const Output& output);

}  // namespace kovaren::wayland
