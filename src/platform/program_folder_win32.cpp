#include "platform/program_folder_win32.h"

#include <windows.h>

#include "platform/text_win32.h"

namespace kovaren::win32 {

std::string ExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);  // a long path: the call cut it, ask again with more room
  }
  const auto slash = path.find_last_of(L"\\/");
  return Cp932FromWide(slash == std::wstring::npos ? std::wstring{} : path.substr(0, slash));
}

}  // namespace kovaren::win32
