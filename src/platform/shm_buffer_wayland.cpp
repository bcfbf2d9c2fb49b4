#include "platform/shm_buffer_wayland.h"

#include <sys/mman.h>
#include <unistd.h>

#include <climits>

namespace kovaren::wayland {
namespace {
constexpr int kBytesPerPixel = 4;
}  // namespace

void ShmBuffer::OnRelease(void* self, wl_buffer*) { static_cast<ShmBuffer*>(self)->busy_ = false; }

std::unique_ptr<ShmBuffer> ShmBuffer::Create(wl_shm* shm, int width, int height, uint32_t format, int stride) {
  if (stride == 0) stride = width;
  if (width <= 0 || height <= 0 || stride < width || stride > INT_MAX / kBytesPerPixel) return nullptr;
  const long long bytes = static_cast<long long>(stride) * height * kBytesPerPixel;
  if (bytes > INT_MAX) return nullptr;  // a wl_shm pool's size is an int
  std::unique_ptr<ShmBuffer> made(new ShmBuffer(width, height, stride));
  const int fd = memfd_create("kovaren-frame", MFD_CLOEXEC);
  if (fd < 0) return nullptr;
  if (ftruncate(fd, bytes) != 0) {
    close(fd);
    return nullptr;
  }
  void* mapped = mmap(nullptr, static_cast<size_t>(bytes), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (mapped == MAP_FAILED) {
    close(fd);
    return nullptr;
  }
  made->bytes_ = static_cast<size_t>(bytes);
  made->pixels_ = static_cast<uint32_t*>(mapped);
  wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<int32_t>(bytes));
  made->buffer_ = wl_shm_pool_create_buffer(pool, 0, width, height, stride * kBytesPerPixel, format);
  wl_shm_pool_destroy(pool);  // the buffer keeps the memory
  close(fd);                  // the compositor has its own copy of the descriptor once sent
  static const wl_buffer_listener kListener = {.release = &ShmBuffer::OnRelease};
  wl_buffer_add_listener(made->buffer_, &kListener, made.get());
  return made;
}

ShmBuffer::~ShmBuffer() {
  if (buffer_) wl_buffer_destroy(buffer_);
  if (pixels_) munmap(pixels_, bytes_);
}

}  // namespace kovaren::wayland
