#include "saver/globals_wayland.h"

#include <algorithm>
#include <cstring>

namespace kovaren::wayland {
namespace {

// The versions the shell speaks (damage_buffer needs compositor 4; output's scale and done need 2).
constexpr uint32_t kCompositorVersion = 4;
constexpr uint32_t kShmVersion = 1;
constexpr uint32_t kSeatVersion = 5;
constexpr uint32_t kOutputVersion = 3;
constexpr uint32_t kWmBaseVersion = 1;
constexpr uint32_t kLayerShellVersion = 4;
constexpr uint32_t kScreencopyVersion = 3;

template <typename Proxy>
Proxy* Bind(wl_registry* registry, uint32_t name, const wl_interface* interface, uint32_t offered, uint32_t wanted) {
  return static_cast<Proxy*>(wl_registry_bind(registry, name, interface, std::min(offered, wanted)));
}

void OnOutputGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*, int32_t) {}

void OnOutputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
  if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
  auto* output = static_cast<Output*>(data);
  output->modeWidth = width;
  output->modeHeight = height;
}

void OnOutputScale(void* data, wl_output*, int32_t factor) { static_cast<Output*>(data)->scale = std::max(factor, 1); }

void OnOutputDone(void* data, wl_output*) {
  auto* output = static_cast<Output*>(data);
  const bool first = !output->done;
  output->done = true;
  if (first && output->globals->outputReady) output->globals->outputReady(*output);
}

constexpr wl_output_listener kOutputListener = {
    .geometry = OnOutputGeometry,
    .mode = OnOutputMode,
    .done = OnOutputDone,
    .scale = OnOutputScale,
    .name = [](void*, wl_output*, const char*) {},         // version 4: never bound
    .description = [](void*, wl_output*, const char*) {},  // version 4: never bound
};

void OnPing(void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); }
constexpr xdg_wm_base_listener kWmBaseListener = {.ping = OnPing};

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
  auto& g = *static_cast<Globals*>(data);
  const auto is = [&](const wl_interface& i) { return std::strcmp(interface, i.name) == 0; };
  if (is(wl_compositor_interface)) {
    if (version >= kCompositorVersion)
      g.compositor = Bind<wl_compositor>(registry, name, &wl_compositor_interface, version, kCompositorVersion);
  } else if (is(wl_shm_interface)) {
    g.shm = Bind<wl_shm>(registry, name, &wl_shm_interface, version, kShmVersion);
  } else if (is(wl_seat_interface)) {
    if (!g.seat) g.seat = Bind<wl_seat>(registry, name, &wl_seat_interface, version, kSeatVersion);
  } else if (is(xdg_wm_base_interface)) {
    g.wmBase = Bind<xdg_wm_base>(registry, name, &xdg_wm_base_interface, version, kWmBaseVersion);
    xdg_wm_base_add_listener(g.wmBase, &kWmBaseListener, nullptr);
  } else if (is(zwlr_layer_shell_v1_interface)) {
    g.layerShell = Bind<zwlr_layer_shell_v1>(registry, name, &zwlr_layer_shell_v1_interface, version, kLayerShellVersion);
  } else if (is(zwlr_screencopy_manager_v1_interface)) {
    g.screencopy = Bind<zwlr_screencopy_manager_v1>(registry, name, &zwlr_screencopy_manager_v1_interface, version,
                                                    kScreencopyVersion);
  } else if (is(wl_output_interface) && version >= 2) {
    auto output = std::make_unique<Output>();
    output->globals = &g;
    output->name = name;
    output->output = Bind<wl_output>(registry, name, &wl_output_interface, version, kOutputVersion);
    wl_output_add_listener(output->output, &kOutputListener, output.get());
    g.outputs.push_back(std::move(output));
  }
}

void OnGlobalRemove(void* data, wl_registry*, uint32_t name) {
  auto& g = *static_cast<Globals*>(data);
  const auto gone = std::find_if(g.outputs.begin(), g.outputs.end(), [&](const auto& o) { return o->name == name; });
  if (gone == g.outputs.end()) return;  // not an output: nothing the shell keeps goes away mid-run
  if (g.outputGone) g.outputGone(name);
  g.outputs.erase(gone);
}

constexpr wl_registry_listener kRegistryListener = {.global = OnGlobal, .global_remove = OnGlobalRemove};

}  // namespace

Output::~Output() {
  if (!output) return;
  if (wl_output_get_version(output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) wl_output_release(output);
  else wl_output_destroy(output);
}

Globals::~Globals() {
  outputs.clear();
  if (screencopy) zwlr_screencopy_manager_v1_destroy(screencopy);
  if (layerShell) {
    // Before version 3 there is no destroy request: the proxy alone is freed.
    if (zwlr_layer_shell_v1_get_version(layerShell) >= ZWLR_LAYER_SHELL_V1_DESTROY_SINCE_VERSION)
      zwlr_layer_shell_v1_destroy(layerShell);
    else
      wl_proxy_destroy(reinterpret_cast<wl_proxy*>(layerShell));
  }
  if (wmBase) xdg_wm_base_destroy(wmBase);
  if (seat) wl_seat_destroy(seat);
  if (shm) wl_shm_destroy(shm);
  if (compositor) wl_compositor_destroy(compositor);
  if (registry) wl_registry_destroy(registry);
  if (display) wl_display_disconnect(display);
}

void BindGlobals(Globals& globals) {
  globals.registry = wl_display_get_registry(globals.display);
  wl_registry_add_listener(globals.registry, &kRegistryListener, &globals);
}

}  // namespace kovaren::wayland
