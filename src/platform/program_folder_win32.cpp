#include "platform/program_folder_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace kovaren::win32 {

FilePath ExecutableFolder() {
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
  // At a drive root the folder keeps its backslash ("C:\"), which a bare "C:" would not mean.
  return FilePath(std::move(path)).Folder();
}

FilePath RoamingAppDataFolder() {
  wchar_t folder[MAX_PATH] = {};
  // Without DONT_VERIFY a folder that does not stand yet would give no path at all; a save makes it.
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, folder)))
    return {};
  return FilePath(std::wstring(folder));
}

}  // namespace kovaren::win32
