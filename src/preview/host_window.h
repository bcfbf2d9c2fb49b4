// The window a screen-saver host hands over for the preview, as a number: one type from the command
// line to the window call, so the handle is widened once and tested for "no window" once.
#pragma once
#include <cstdint>

namespace kovaren::preview {

// Only the low 32 bits of a window handle are significant, on 32-bit and 64-bit Windows alike; the
// system widens them with sign to the width of a pointer, and so does `value`. The Win32 shell turns
// it into a window handle as it is; nothing else looks inside.
struct HostWindow {
  std::intptr_t value = 0;
  bool operator==(const HostWindow&) const = default;
};

// A host handle that names no window.
inline constexpr HostWindow kNoWindow{};

}  // namespace kovaren::preview
