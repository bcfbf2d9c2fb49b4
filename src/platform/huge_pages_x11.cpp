#include "platform/huge_pages_x11.h"

#include <sys/mman.h>

#include <cstdint>

namespace kovaren::x11 {
namespace {

constexpr uintptr_t kHugePageBytes = uintptr_t{2} << 20;
#ifndef MADV_COLLAPSE
constexpr int MADV_COLLAPSE = 25;  // Linux 6.1; older C headers lack the name
#endif

}  // namespace

void AskForHugePages(std::span<const Pixel> pixels) {
  const auto begin = reinterpret_cast<uintptr_t>(pixels.data());
  const uintptr_t end = begin + pixels.size_bytes();
  const uintptr_t first = (begin + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
  const uintptr_t last = end & ~(kHugePageBytes - 1);
  if (first >= last) return;  // a small picture: nothing to gain
  void* start = reinterpret_cast<void*>(first);
  const size_t length = last - first;
  // Future faults (MADV_HUGEPAGE), and the pages already touched, at once (MADV_COLLAPSE, which an
  // older kernel refuses: khugepaged then collapses them in its own time). Failure changes nothing.
  madvise(start, length, MADV_HUGEPAGE);
  madvise(start, length, MADV_COLLAPSE);
}

}  // namespace kovaren::x11
