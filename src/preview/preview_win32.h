// The preview window with its picture handed in, for hosts that run the preview in their own process
// (the end-to-end test host does, so that its drawing can be seen). RunPreview is this with the
// embedded PREVIEW picture.
#pragma once
#include <windows.h>

#include <optional>

#include "main/modes_win32.h"
#include "gfx/pixel_buffer.h"

namespace kovaren::win32 {

// Shows `picture` (black where it is missing or does not reach) in the host's window until the host
// goes; returns at once when `host` names no window.
void RunPreviewShowing(const StartContext& context, HWND host, std::optional<PixelBuffer> picture);

}  // namespace kovaren::win32
