#include "platform/text_win32.h"

#include <windows.h>

namespace kovaren::win32 {
namespace {
constexpr UINT kShiftJis = 932;
}

std::wstring WideFromCp932(std::string_view cp932) {
  if (cp932.empty()) return {};
  const int n = MultiByteToWideChar(kShiftJis, 0, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(kShiftJis, 0, cp932.data(), static_cast<int>(cp932.size()), wide.data(), n);
  return wide;
}

std::string Cp932FromWide(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(kShiftJis, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string text(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(kShiftJis, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr, nullptr);
  return text;
}

}  // namespace kovaren::win32
