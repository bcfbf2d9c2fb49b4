// The compositor's globals the Wayland shell binds, and its outputs as they are announced. Filled by
// the registry's events (BindGlobals), read by everything else of the shell.
#pragma once
#include <wayland-client.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace kovaren::wayland {

struct Globals;

// One wl_output: its scale and whether its first burst of facts has ended ("done").
struct Output {
  Globals* globals = nullptr;
  uint32_t name = 0;  // the registry's
  wl_output* output = nullptr;
  int scale = 1;
  int modeWidth = 0, modeHeight = 0;  // the current mode, device pixels
  bool done = false;
  ~Output();
};

struct Globals {
  wl_display* display = nullptr;
  wl_registry* registry = nullptr;
  wl_compositor* compositor = nullptr;
  wl_shm* shm = nullptr;
  wl_seat* seat = nullptr;
  xdg_wm_base* wmBase = nullptr;
  zwlr_layer_shell_v1* layerShell = nullptr;
  zwlr_screencopy_manager_v1* screencopy = nullptr;
  std::vector<std::unique_ptr<Output>> outputs;  // in the order announced
  // Told when an output has its facts (its first "done") or is gone; null until the shell listens.
  std::function<void(Output&)> outputReady;
  std::function<void(uint32_t name)> outputGone;
  ~Globals();
};

// Listens to the registry and binds what the shell speaks. The globals arrive with the next round
// trip, the outputs' facts with the one after.
void BindGlobals(Globals& globals);

}  // namespace kovaren::wayland
