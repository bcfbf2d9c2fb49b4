// The pictures embedded in the executable as RCDATA resources (named in the .rc fragments of each
// subsystem), read straight from the mapped image: no copy, valid for the life of the process.
#pragma once
#include <cstdint>
#include <optional>
#include <span>

#include "gfx/pixel_buffer.h"

namespace kovaren::win32 {

// Empty when the resource is missing.
std::span<const uint8_t> ResourceBytes(const wchar_t* name);
// The embedded BMP decoded; nothing when missing or unreadable.
std::optional<PixelBuffer> ResourcePicture(const wchar_t* name);

}  // namespace kovaren::win32
