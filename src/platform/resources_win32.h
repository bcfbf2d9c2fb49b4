// The pictures embedded in the executable as RCDATA resources (named in the .rc fragments of each
// subsystem), read straight from the mapped image: no copy, valid for the life of the process.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "gfx/pixel_buffer.h"

namespace kovaren::win32 {

// Empty when the resource is missing.
std::span<const uint8_t> ResourceBytes(const wchar_t* name);
// The embedded BMP decoded; nothing when missing or unreadable.
std::optional<PixelBuffer> ResourcePicture(const wchar_t* name);
// The same, from another module's resources (e.g. Kovaren.scr loaded as a data file by a test host).
std::span<const uint8_t> ResourceBytes(HMODULE module, const wchar_t* name);
std::optional<PixelBuffer> ResourcePicture(HMODULE module, const wchar_t* name);

// The resource name of an asset's file stem: the .rc fragments name them in upper case
// ("leaf_red_00" -> "LEAF_RED_00").
std::wstring ResourceName(std::string_view stem);

}  // namespace kovaren::win32
