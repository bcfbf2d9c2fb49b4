#include "platform/resources_win32.h"

#include "gfx/bmp.h"
#include "text/ascii.h"

namespace kovaren::win32 {

std::span<const uint8_t> ResourceBytes(const wchar_t* name) { return ResourceBytes(GetModuleHandleW(nullptr), name); }

std::optional<PixelBuffer> ResourcePicture(const wchar_t* name) {
  return ResourcePicture(GetModuleHandleW(nullptr), name);
}

std::span<const uint8_t> ResourceBytes(HMODULE module, const wchar_t* name) {
  HRSRC info = FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!info) return {};
  HGLOBAL handle = LoadResource(module, info);
  if (!handle) return {};
  const void* data = LockResource(handle);
  if (!data) return {};
  return {static_cast<const uint8_t*>(data), static_cast<size_t>(SizeofResource(module, info))};
}

std::optional<PixelBuffer> ResourcePicture(HMODULE module, const wchar_t* name) {
  const auto bytes = ResourceBytes(module, name);
  if (bytes.empty()) return std::nullopt;
  return DecodeBmp(bytes);
}

std::wstring ResourceName(std::string_view stem) {
  std::wstring name;
  name.reserve(stem.size());
  for (char ch : stem) name += static_cast<wchar_t>(text::ToUpper(ch));
  return name;
}

}  // namespace kovaren::win32
