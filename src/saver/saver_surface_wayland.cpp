#include "saver/saver_surface_wayland.h"

#include "saver/present_region.h"
#include "saver/shm_pixels_wayland.h"

namespace kovaren::wayland {
namespace {

constexpr char kLayerNamespace[] = "kovaren";
constexpr char kAppId[] = "kovaren";
constexpr uint32_t kAllEdges = ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                               ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;
constexpr int32_t kIgnoreOtherZones = -1;  // over panels too, not beside them
constexpr uint32_t kSizeFromAnchors = 0;

}  // namespace

SaverSurface::SaverSurface(Globals& globals, int scale) : globals_(globals), scale_(scale) {
  surface_ = wl_compositor_create_surface(globals.compositor);
}

std::unique_ptr<SaverSurface> SaverSurface::OverOutput(Globals& globals, const Output& output) {
  if (!globals.compositor || !globals.layerShell || !globals.shm) return nullptr;
  std::unique_ptr<SaverSurface> s(new SaverSurface(globals, output.scale));
  s->layer_ = zwlr_layer_shell_v1_get_layer_surface(globals.layerShell, s->surface_, output.output,
                                                    ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, kLayerNamespace);
  static const zwlr_layer_surface_v1_listener kListener = {.configure = &SaverSurface::OnLayerConfigure,
                                                           .closed = &SaverSurface::OnLayerClosed};
  zwlr_layer_surface_v1_add_listener(s->layer_, &kListener, s.get());
  zwlr_layer_surface_v1_set_size(s->layer_, kSizeFromAnchors, kSizeFromAnchors);
  zwlr_layer_surface_v1_set_anchor(s->layer_, kAllEdges);
  zwlr_layer_surface_v1_set_exclusive_zone(s->layer_, kIgnoreOtherZones);
  zwlr_layer_surface_v1_set_keyboard_interactivity(s->layer_, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
  wl_surface_commit(s->surface_);  // no buffer yet: asks for the first configure
  return s;
}

std::unique_ptr<SaverSurface> SaverSurface::Window(Globals& globals, int width, int height, int scale,
                                                   const char* title) {
  if (!globals.compositor || !globals.wmBase || !globals.shm) return nullptr;
  std::unique_ptr<SaverSurface> s(new SaverSurface(globals, scale));
  s->width_ = width;
  s->height_ = height;
  s->xdgSurface_ = xdg_wm_base_get_xdg_surface(globals.wmBase, s->surface_);
  static const xdg_surface_listener kSurface = {.configure = &SaverSurface::OnXdgConfigure};
  xdg_surface_add_listener(s->xdgSurface_, &kSurface, s.get());
  s->toplevel_ = xdg_surface_get_toplevel(s->xdgSurface_);
  static const xdg_toplevel_listener kToplevel = {
      .configure = &SaverSurface::OnToplevelConfigure,
      .close = &SaverSurface::OnToplevelClose,
      .configure_bounds = [](void*, xdg_toplevel*, int32_t, int32_t) {},  // a size hint; ours is fixed
      .wm_capabilities = [](void*, xdg_toplevel*, wl_array*) {},
  };
  xdg_toplevel_add_listener(s->toplevel_, &kToplevel, s.get());
  xdg_toplevel_set_title(s->toplevel_, title);
  xdg_toplevel_set_app_id(s->toplevel_, kAppId);
  // The picture is cut for this size: a fixed size (which tiling compositors float, too).
  xdg_toplevel_set_min_size(s->toplevel_, width, height);
  xdg_toplevel_set_max_size(s->toplevel_, width, height);
  wl_surface_commit(s->surface_);
  return s;
}

SaverSurface::~SaverSurface() {
  if (frame_) wl_callback_destroy(frame_);
  if (layer_) zwlr_layer_surface_v1_destroy(layer_);
  if (toplevel_) xdg_toplevel_destroy(toplevel_);
  if (xdgSurface_) xdg_surface_destroy(xdgSurface_);
  if (surface_) wl_surface_destroy(surface_);
  buffers_.clear();
}

void SaverSurface::OnLayerConfigure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t w, uint32_t h) {
  auto& self = *static_cast<SaverSurface*>(data);
  zwlr_layer_surface_v1_ack_configure(layer, serial);
  // A new size (the output's mode changed) is the saver's to re-plan; the frames that follow have it.
  if (w == 0 || h == 0) return;
  self.width_ = static_cast<int>(w);
  self.height_ = static_cast<int>(h);
  self.configured_ = true;
}

void SaverSurface::OnLayerClosed(void* data, zwlr_layer_surface_v1*) { static_cast<SaverSurface*>(data)->closed_ = true; }

void SaverSurface::OnXdgConfigure(void* data, xdg_surface* surface, uint32_t serial) {
  xdg_surface_ack_configure(surface, serial);
  static_cast<SaverSurface*>(data)->configured_ = true;
}

void SaverSurface::OnToplevelClose(void* data, xdg_toplevel*) { static_cast<SaverSurface*>(data)->closed_ = true; }

void SaverSurface::OnFrameDone(void* data, wl_callback* callback, uint32_t) {
  auto& self = *static_cast<SaverSurface*>(data);
  wl_callback_destroy(callback);
  self.frame_ = nullptr;
}

void SaverSurface::Changed(std::span<const Rect> rects) {
  if (stale_) stale_->Changed(rects);
  unshown_ = unshown_ || !rects.empty();
}

void SaverSurface::ChangedAll() {
  if (stale_) stale_->ChangedAll();
  unshown_ = true;
}

// A released buffer of the frame's size, made when none is and there is room for one more; -1 when
// every buffer is held.
int SaverSurface::FreeBuffer(ConstPixelView frame) {
  if (stale_ && !(stale_->bounds() == frame.bounds())) {
    // Frames of another size: the old buffers go (the compositor keeps what it shows of a held one).
    buffers_.clear();
    stale_.reset();
  }
  if (!stale_) stale_.emplace(kMaxBuffersPerSurface, frame.bounds());
  for (size_t i = 0; i < buffers_.size(); ++i)
    if (!buffers_[i]->busy()) return static_cast<int>(i);
  if (buffers_.size() >= kMaxBuffersPerSurface) return -1;
  auto made = ShmBuffer::Create(globals_.shm, frame.width(), frame.height(), kShmXrgb8888);
  if (!made) return -1;
  buffers_.push_back(std::move(made));
  return static_cast<int>(buffers_.size() - 1);
}

bool SaverSurface::Present(ConstPixelView frame) {
  const int index = FreeBuffer(frame);
  if (index < 0) return false;
  // Keep the pool at its usual size before it has to grow beyond it.
  while (buffers_.size() < kBuffersPerSurface) {
    auto made = ShmBuffer::Create(globals_.shm, frame.width(), frame.height(), kShmXrgb8888);
    if (!made) break;
    buffers_.push_back(std::move(made));
  }
  ShmBuffer& buffer = *buffers_[static_cast<size_t>(index)];
  const StaleRegions::Update update = stale_->Take(index);
  WriteShmRects(frame, update.copy, buffer.row(0), buffer.stride());

  wl_surface_set_buffer_scale(surface_, scale_);
  wl_surface_attach(surface_, buffer.buffer(), 0, 0);
  // The compositor repaints each damaged rectangle on its own (sway's cost grows with their count
  // far more than with their area), so leaves near each other are damaged as one box.
  for (const saver::PresentGroup& group : saver::GroupForFlushes(update.damage, saver::kFlushWastePixels))
    wl_surface_damage_buffer(surface_, group.bounds.x, group.bounds.y, group.bounds.w, group.bounds.h);
  static const wl_callback_listener kFrame = {.done = &SaverSurface::OnFrameDone};
  if (!frame_) {
    frame_ = wl_surface_frame(surface_);
    wl_callback_add_listener(frame_, &kFrame, this);
  }
  wl_surface_commit(surface_);
  buffer.MarkBusy();
  unshown_ = false;
  return true;
}

}  // namespace kovaren::wayland
