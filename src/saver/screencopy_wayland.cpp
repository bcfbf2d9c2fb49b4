#include "saver/screencopy_wayland.h"

#include <memory>

#include "platform/shm_buffer_wayland.h"
#include "saver/shm_pixels_wayland.h"

namespace kovaren::wayland {
namespace {

constexpr int kBytesPerPixel = 4;

struct Capture {
  wl_shm* shm = nullptr;
  zwlr_screencopy_frame_v1* frame = nullptr;
  uint32_t format = 0;
  int width = 0, height = 0, stride = 0;
  bool offered = false;  // a readable shm format was offered
  bool yInvert = false;
  bool finished = false;
  bool ready = false;
  std::unique_ptr<ShmBuffer> buffer;

  // The copy is asked for once every buffer type is known (version 3's buffer_done) or, before
  // version 3, right after the one shm buffer event.
  void Copy() {
    if (!offered) {
      finished = true;
      return;
    }
    buffer = ShmBuffer::Create(shm, width, height, format, stride);
    if (!buffer) {
      finished = true;
      return;
    }
    zwlr_screencopy_frame_v1_copy(frame, buffer->buffer());
  }
};

void OnBuffer(void* data, zwlr_screencopy_frame_v1* frame, uint32_t format, uint32_t width, uint32_t height,
              uint32_t stride) {
  auto& c = *static_cast<Capture*>(data);
  if (IsReadableFormat(format) && stride % kBytesPerPixel == 0 && !c.offered) {
    c.offered = true;
    c.format = format;
    c.width = static_cast<int>(width);
    c.height = static_cast<int>(height);
    c.stride = static_cast<int>(stride / kBytesPerPixel);
  }
  if (zwlr_screencopy_frame_v1_get_version(frame) < ZWLR_SCREENCOPY_FRAME_V1_BUFFER_DONE_SINCE_VERSION) c.Copy();
}
void OnFlags(void* data, zwlr_screencopy_frame_v1*, uint32_t flags) {
  static_cast<Capture*>(data)->yInvert = (flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT) != 0;
}
void OnReady(void* data, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {
  auto& c = *static_cast<Capture*>(data);
  c.ready = c.finished = true;
}
void OnFailed(void* data, zwlr_screencopy_frame_v1*) { static_cast<Capture*>(data)->finished = true; }
void OnDamage(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t, uint32_t) {}
void OnDmabuf(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {}
void OnBufferDone(void* data, zwlr_screencopy_frame_v1*) { static_cast<Capture*>(data)->Copy(); }

constexpr zwlr_screencopy_frame_v1_listener kFrameListener = {
    .buffer = OnBuffer,
    .flags = OnFlags,
    .ready = OnReady,
    .failed = OnFailed,
    .damage = OnDamage,
    .linux_dmabuf = OnDmabuf,
    .buffer_done = OnBufferDone,
};

}  // namespace

std::optional<PixelBuffer> CaptureOutput(Globals& globals, const Output& output) {
  if (!globals.screencopy || !globals.shm) return std::nullopt;
  Capture capture;
  capture.shm = globals.shm;
  constexpr int kWithoutCursor = 0;
  capture.frame = zwlr_screencopy_manager_v1_capture_output(globals.screencopy, kWithoutCursor, output.output);
  zwlr_screencopy_frame_v1_add_listener(capture.frame, &kFrameListener, &capture);
  while (!capture.finished) {
    if (wl_display_dispatch(globals.display) < 0) break;  // the compositor went away
  }
  zwlr_screencopy_frame_v1_destroy(capture.frame);
  if (!capture.ready || !capture.buffer) return std::nullopt;
  const ShmBuffer& b = *capture.buffer;
  const std::span<const uint32_t> pixels(b.row(0), static_cast<size_t>(b.stride()) * b.height());
  return ReadShmPicture(pixels, b.width(), b.height(), b.stride(), capture.format, capture.yInvert);
}

}  // namespace kovaren::wayland
