// Delivers to a running saver the notifications Wine never sends: a display-state change (as the
// power manager would, with the POWERBROADCAST_SETTING written into the saver's own process, since
// the message carries a pointer), a session change, or a display change.
// Usage: power_host display off|on|dimmed | power_host session lock|unlock|disconnect|connect
//        | power_host displaychange
// Exit 0 when delivered; 2 bad arguments, 3 no saver window, 4 the saver's memory was not written.
#include <windows.h>
#include <shellapi.h>
#include <wtsapi32.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kSaverClass[] = L"Tesmar_Main";
// GUID_CONSOLE_DISPLAY_STATE, spelled out: MinGW's headers define it only with INITGUID.
constexpr GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0,
                                       {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

int SendDisplayState(HWND saver, DWORD state) {
  DWORD pid = 0;
  GetWindowThreadProcessId(saver, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (process == nullptr) return 4;
  std::vector<unsigned char> bytes(offsetof(POWERBROADCAST_SETTING, Data) + sizeof(DWORD));
  POWERBROADCAST_SETTING header{};
  header.PowerSetting = kConsoleDisplayState;
  header.DataLength = sizeof(DWORD);
  std::memcpy(bytes.data(), &header, offsetof(POWERBROADCAST_SETTING, Data));
  std::memcpy(bytes.data() + offsetof(POWERBROADCAST_SETTING, Data), &state, sizeof state);
  void* remote = VirtualAllocEx(process, nullptr, bytes.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  const bool written = remote != nullptr &&
                       WriteProcessMemory(process, remote, bytes.data(), bytes.size(), nullptr);
  // The block stays in the saver: a few dozen bytes per test message, freed when the saver ends.
  CloseHandle(process);
  if (!written) return 4;
  DWORD_PTR result = 0;
  SendMessageTimeoutW(saver, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(remote),
                      SMTO_ABORTIFHUNG, 2000, &result);
  return 0;
}

int Deliver(HWND saver, const std::wstring& kind, const std::wstring& what) {
  if (kind == L"display") {
    if (what == L"off") return SendDisplayState(saver, 0);
    if (what == L"on") return SendDisplayState(saver, 1);
    if (what == L"dimmed") return SendDisplayState(saver, 2);
    return 2;
  }
  if (kind == L"session") {
    WPARAM code = 0;
    if (what == L"lock") code = WTS_SESSION_LOCK;
    else if (what == L"unlock") code = WTS_SESSION_UNLOCK;
    else if (what == L"disconnect") code = WTS_CONSOLE_DISCONNECT;
    else if (what == L"connect") code = WTS_CONSOLE_CONNECT;
    else return 2;
    PostMessageW(saver, WM_WTSSESSION_CHANGE, code, 0);
    return 0;
  }
  if (kind == L"displaychange") {
    const LPARAM size = MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    DWORD_PTR result = 0;
    SendMessageTimeoutW(saver, WM_DISPLAYCHANGE, 32, size, SMTO_ABORTIFHUNG, 2000, &result);
    return 0;
  }
  return 2;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (args == nullptr || count < 2) return 2;
  const std::wstring kind = args[1];
  const std::wstring what = count > 2 ? args[2] : L"";
  LocalFree(args);
  HWND saver = FindWindowW(kSaverClass, nullptr);
  if (saver == nullptr) return 3;
  return Deliver(saver, kind, what);
}
