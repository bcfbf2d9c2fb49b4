// One wl_shm buffer of 32-bit pixels in memory shared with the compositor (an anonymous memfd, so
// nothing is left behind in the file system when the process ends, however it ends). The compositor
// holds a buffer from its commit until its release event: until then it is busy and must not be
// written.
#pragma once
#include <wayland-client.h>

#include <cstdint>
#include <memory>
#include <span>

namespace kovaren::wayland {

class ShmBuffer {
 public:
  // Nothing when the memory or the buffer cannot be had. `format` a wl_shm format of 32-bit pixels;
  // `stride` pixels per row, at least `width` (0: `width`), as a screen copy may ask for.
  static std::unique_ptr<ShmBuffer> Create(wl_shm* shm, int width, int height, uint32_t format, int stride = 0);
  ~ShmBuffer();
  ShmBuffer(const ShmBuffer&) = delete;
  ShmBuffer& operator=(const ShmBuffer&) = delete;

  wl_buffer* buffer() const { return buffer_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int stride() const { return stride_; }  // pixels per row
  uint32_t* row(int y) { return pixels_ + static_cast<size_t>(y) * static_cast<size_t>(stride_); }
  const uint32_t* row(int y) const { return pixels_ + static_cast<size_t>(y) * static_cast<size_t>(stride_); }

  bool busy() const { return busy_; }
  void MarkBusy() { busy_ = true; }  // on commit; the release event clears it

 private:
  ShmBuffer(int width, int height, int stride) : width_(width), height_(height), stride_(stride) {}
  static void OnRelease(void* self, wl_buffer*);

  int width_;
  int height_;
  int stride_;
  size_t bytes_ = 0;
  uint32_t* pixels_ = nullptr;
  wl_buffer* buffer_ = nullptr;
  bool busy_ = false;
};

}  // namespace kovaren::wayland
