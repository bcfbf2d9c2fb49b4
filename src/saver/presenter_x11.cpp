#include "saver/presenter_x11.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>

#include "platform/x_errors_x11.h"
#include "platform/ximage_pixels_x11.h"
#include "saver/present_region.h"

namespace kovaren::x11 {
namespace {

constexpr int kSegmentMode = 0600;  // ours alone; the server attaches it as the same user or as root
constexpr int kBitmapPad = 32;
// Grouped: rectangles starting in one 64-pixel cell join while their box covers at most 1024 pixels
// none of them covers (at 501 leaves about half the puts for a third more pixels).
constexpr int kJoinCell = 64;
constexpr long long kJoinWastePixels = 1024;

}  // namespace

FramePresenter::FramePresenter(Display* display, Window window, Visual* visual, int depth, const Rect& area,
                               PutMethod method)
    : display_(display), window_(window), area_(area), method_(method),
      joiner_(kJoinCell, kJoinWastePixels) {
  gc_ = XCreateGC(display_, window_, 0, nullptr);
  if (AttachShared(visual, depth)) {
    storage_ = ViewOf(image_);
    return;
  }
  // Plain images: the same pixels, sent through the connection.
  image_ = XCreateImage(display_, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                        static_cast<unsigned>(area.w), static_cast<unsigned>(area.h), kBitmapPad, 0);
  if (image_) {
    image_->data = static_cast<char*>(std::calloc(static_cast<size_t>(image_->bytes_per_line), static_cast<size_t>(area.h)));
    if (!image_->data) {
      XDestroyImage(image_);
      image_ = nullptr;
    }
  }
  storage_ = ViewOf(image_);
}

bool FramePresenter::AttachShared(Visual* visual, int depth) {
  if (!XShmQueryExtension(display_)) return false;
  image_ = XShmCreateImage(display_, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &segment_,
                           static_cast<unsigned>(area_.w), static_cast<unsigned>(area_.h));
  if (!image_) return false;
  const size_t bytes = static_cast<size_t>(image_->bytes_per_line) * static_cast<size_t>(area_.h);
  segment_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | kSegmentMode);
  if (segment_.shmid >= 0) {
    segment_.shmaddr = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
    if (segment_.shmaddr != reinterpret_cast<char*>(-1)) {
      image_->data = segment_.shmaddr;
      segment_.readOnly = False;
      ErrorTrap trap(display_);
      const bool attached = XShmAttach(display_, &segment_) && !trap.Failed();
      // Attached or not, nobody else needs the id: the segment goes when the last user detaches.
      shmctl(segment_.shmid, IPC_RMID, nullptr);
      if (attached) {
        shared_ = true;
        return true;
      }
      shmdt(segment_.shmaddr);
    } else {
      shmctl(segment_.shmid, IPC_RMID, nullptr);
    }
  }
  // A remote server, or one that may not attach our memory: plain images.
  image_->data = nullptr;
  XDestroyImage(image_);
  image_ = nullptr;
  segment_ = {};
  return false;
}

FramePresenter::~FramePresenter() {
  if (shared_) {
    XShmDetach(display_, &segment_);
    image_->data = nullptr;
    XDestroyImage(image_);
    shmdt(segment_.shmaddr);
  } else if (image_) {
    XDestroyImage(image_);  // frees the calloc'ed data too
  }
  if (gc_) XFreeGC(display_, gc_);
}

// The server's cost follows the rows it copies; a pass's rectangles never overlap, so one put each
// sends no row twice, where a clip list as long as a crowded pass's costs the server more.
void FramePresenter::Present(ConstPixelView frame, std::span<const Rect> dirty) {
  if (dirty.empty() || !image_) return;
  if (method_ == PutMethod::EachRect) {
    for (const Rect& r : dirty) PutRect(frame, r);
    return;
  }
  if (method_ == PutMethod::Grouped) {
    // A box may cover pixels outside the rectangles: the image holds the frame there too, each
    // pixel copied when it last changed.
    for (const Rect& r : dirty) CopyInto(image_, frame, r);
    for (const Rect& box : joiner_.Join(dirty)) Send(box);
    return;
  }
  Rect bounds;
  clip_.clear();
  for (const Rect& r : dirty) {
    CopyInto(image_, frame, r);
    bounds = Union(bounds, r);
    clip_.push_back({static_cast<short>(area_.x + r.x), static_cast<short>(area_.y + r.y),
                     static_cast<unsigned short>(r.w), static_cast<unsigned short>(r.h)});
  }
  XSetClipRectangles(display_, gc_, 0, 0, clip_.data(), static_cast<int>(clip_.size()), Unsorted);
  Send(bounds);
  XSetClipMask(display_, gc_, None);
}

void FramePresenter::PresentAll(ConstPixelView frame) {
  if (image_) PutRect(frame, frame.bounds());
}

// No wait for the server to finish reading the shared image: the next pass writes it again only a
// pass later, and a server that far behind shows a torn leaf for one pass at worst.
void FramePresenter::PutRect(ConstPixelView frame, const Rect& r) {
  CopyInto(image_, frame, r);
  Send(r);
}

void FramePresenter::Send(const Rect& r) {
  const int x = area_.x + r.x, y = area_.y + r.y;
  const auto w = static_cast<unsigned>(r.w), h = static_cast<unsigned>(r.h);
  if (shared_) {
    XShmPutImage(display_, window_, gc_, image_, r.x, r.y, x, y, w, h, False);
  } else {
    XPutImage(display_, window_, gc_, image_, r.x, r.y, x, y, w, h);
  }
}

}  // namespace kovaren::x11
