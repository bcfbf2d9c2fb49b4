// Text at the platform edge: the program keeps its texts in code page 932 (the settings file's bytes)
// and hands UTF-16 to the wide Win32 functions, so it behaves the same on every Windows locale.
#pragma once
#include <string>
#include <string_view>

namespace kovaren::win32 {

std::wstring WideFromCp932(std::string_view cp932);
// Characters without a code page 932 form become '?'.
std::string Cp932FromWide(std::wstring_view wide);

}  // namespace kovaren::win32
