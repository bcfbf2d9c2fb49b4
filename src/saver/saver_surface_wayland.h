// One surface showing one scene's frames: an overlay layer surface over a whole output (anchored to
// its four edges, keys exclusively its own), or an ordinary xdg_toplevel window. It keeps a few
// wl_shm buffers; a frame goes into one the compositor has released, brought up to date with
// everything that changed since that buffer was last shown, and is committed with what changed
// since the last commit as damage and a frame callback: the compositor's callback says when the next frame is wanted (none
// comes while nobody can see the surface).
#pragma once
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gfx/pixel_buffer.h"
#include "platform/shm_buffer_wayland.h"
#include "saver/globals_wayland.h"
#include "saver/stale_regions_wayland.h"

namespace kovaren::wayland {

constexpr int kBuffersPerSurface = 3;  // the compositor may hold two while we draw the third
constexpr int kMaxBuffersPerSurface = 6;

class SaverSurface {
 public:
  // Over the whole of `output`, on the overlay layer.
  static std::unique_ptr<SaverSurface> OverOutput(Globals& globals, const Output& output);
  // A window of `width` x `height` surface pixels (the compositor may place it, not size it).
  static std::unique_ptr<SaverSurface> Window(Globals& globals, int width, int height, int scale, const char* title);
  ~SaverSurface();
  SaverSurface(const SaverSurface&) = delete;
  SaverSurface& operator=(const SaverSurface&) = delete;

  // The size the compositor gave, in surface pixels; 0 x 0 until the first configure.
  bool configured() const { return configured_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int scale() const { return scale_; }
  bool closed() const { return closed_; }          // the compositor took it away (or asked to close)
  bool waitingForFrame() const { return frame_ != nullptr; }
  bool unshown() const { return unshown_; }        // changes not yet committed

  // The frame (device pixels: the surface's size times its scale) changed under `rects`.
  void Changed(std::span<const Rect> rects);
  // All of the frame changed.
  void ChangedAll();
  // Commits `frame` with what changed since the buffer used was last shown. False when every buffer
  // is still held by the compositor: the changes wait for the next call.
  bool Present(ConstPixelView frame);

 private:
  SaverSurface(Globals& globals, int scale);
  static void OnLayerConfigure(void* self, zwlr_layer_surface_v1*, uint32_t serial, uint32_t w, uint32_t h);
  static void OnLayerClosed(void* self, zwlr_layer_surface_v1*);
  static void OnXdgConfigure(void* self, xdg_surface*, uint32_t serial);
  static void OnToplevelConfigure(void*, xdg_toplevel*, int32_t, int32_t, wl_array*) {}
  static void OnToplevelClose(void* self, xdg_toplevel*);
  static void OnFrameDone(void* self, wl_callback*, uint32_t);
  int FreeBuffer(ConstPixelView frame);

  Globals& globals_;
  wl_surface* surface_ = nullptr;
  zwlr_layer_surface_v1* layer_ = nullptr;
  xdg_surface* xdgSurface_ = nullptr;
  xdg_toplevel* toplevel_ = nullptr;
  wl_callback* frame_ = nullptr;
  int scale_ = 1;
  int width_ = 0, height_ = 0;
  bool configured_ = false;
  bool closed_ = false;
  bool unshown_ = true;
  std::vector<std::unique_ptr<ShmBuffer>> buffers_;
  std::optional<StaleRegions> stale_;  // per buffer slot, kMaxBuffersPerSurface of them
};

}  // namespace kovaren::wayland
