#include "app/resources_win32.h"

#include <windows.h>

#include "gfx/bmp.h"

namespace kovaren::win32 {

std::span<const uint8_t> ResourceBytes(const wchar_t* name) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!info) return {};
  HGLOBAL handle = LoadResource(module, info);
  if (!handle) return {};
  const void* data = LockResource(handle);
  if (!data) return {};
  return {static_cast<const uint8_t*>(data), static_cast<size_t>(SizeofResource(module, info))};
}

std::optional<PixelBuffer> ResourcePicture(const wchar_t* name) {
  const auto bytes = ResourceBytes(name);
  if (bytes.empty()) return std::nullopt;
  return DecodeBmp(bytes);
}

}  // namespace kovaren::win32
