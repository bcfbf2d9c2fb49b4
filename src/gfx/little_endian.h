// Little-endian numbers in byte buffers, the byte order of every Windows file format the program and
// its artwork tools read or write (BMP, ICO, CUR). Callers check the buffer's size first.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kovaren {

inline void AppendLe16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void AppendLe32(std::vector<uint8_t>& out, uint32_t v) {
  AppendLe16(out, static_cast<uint16_t>(v));
  AppendLe16(out, static_cast<uint16_t>(v >> 16));
}

inline void StoreLe16(std::span<uint8_t> out, size_t at, uint16_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void StoreLe32(std::span<uint8_t> out, size_t at, uint32_t v) {
  StoreLe16(out, at, static_cast<uint16_t>(v));
  StoreLe16(out, at + 2, static_cast<uint16_t>(v >> 16));
}

inline uint16_t LoadLe16(std::span<const uint8_t> in, size_t at) {
  return static_cast<uint16_t>(in[at] | in[at + 1] << 8);
}
inline uint32_t LoadLe32(std::span<const uint8_t> in, size_t at) {
  return uint32_t{LoadLe16(in, at)} | uint32_t{LoadLe16(in, at + 2)} << 16;
}

}  // namespace kovaren
