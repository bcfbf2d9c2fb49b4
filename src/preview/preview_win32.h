// The preview's entry point, and the same with its picture handed in, for hosts that run the preview
// in their own process (the end-to-end test host does, so that its drawing can be seen).
#pragma once
#include <optional>

#include "gfx/pixel_buffer.h"
#include "platform/start_context_win32.h"
#include "preview/host_window.h"

namespace kovaren::win32 {

// The embedded picture in the host's window until the host goes; returns at once when `host` names
// no window.
void RunPreview(const StartContext& context, preview::HostWindow host);

// Shows `picture` (black where it is missing or does not reach) in the host's window until the host
// goes; returns at once when `host` names no window.
void RunPreviewShowing(const StartContext& context, preview::HostWindow host, std::optional<PixelBuffer> picture);

}  // namespace kovaren::win32
