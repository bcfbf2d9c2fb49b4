// Windows bitmap files (BMP), the format of every committed picture and embedded resource.
// Writes 24-bit uncompressed bottom-up files; reads 24- and 32-bit uncompressed ones.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "gfx/pixel_buffer.h"

namespace kovaren {

// 14-byte file header + 40-byte info header, then rows padded to 4 bytes, bottom row first.
constexpr int kBmpHeaderBytes = 54;

std::vector<uint8_t> EncodeBmp24(const PixelBuffer& picture);

// Nothing for truncated, compressed, palettised or otherwise unsupported files.
std::optional<PixelBuffer> DecodeBmp(std::span<const uint8_t> file);

}  // namespace kovaren
