// Huge pages for the big pictures a pass walks through. A pass touches a short row of the backdrop
// and of the frame for every line of every leaf, each row on a page of its own at full-screen
// widths, so with small pages most rows cost a TLB miss; 2 MiB pages hold hundreds of rows each.
#pragma once
#include <span>

#include "gfx/pixel_buffer.h"

namespace kovaren::x11 {

// Asks the kernel to back the whole 2 MiB pages inside `pixels` with huge pages, now (the memory is
// already in use). Only a hint: the contents stay as they are, and where the kernel offers no
// transparent huge pages nothing changes.
void AskForHugePages(std::span<const Pixel> pixels);

}  // namespace kovaren::x11
