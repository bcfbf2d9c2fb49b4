#include "saver/visibility_win32.h"

#include <wtsapi32.h>

#include <cstddef>
#include <cstring>

namespace kovaren::win32 {

namespace {

// Spelled out: the SDK defines them only with INITGUID and for Vista and later.
constexpr GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0,
                                       {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID kSessionDisplayStatus = {0x2b84c20e, 0xad23, 0x4ddf,
                                        {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}};
constexpr WPARAM kPowerSettingChange = 0x8013;  // PBT_POWERSETTINGCHANGE
constexpr DWORD kNotifyForWindow = 0;            // DEVICE_NOTIFY_WINDOW_HANDLE

using RegisterFn = HPOWERNOTIFY(WINAPI*)(HANDLE, LPCGUID, DWORD);
using UnregisterFn = BOOL(WINAPI*)(HPOWERNOTIFY);

// Looked up at run time: Windows before Vista has no power-setting notifications at all.
template <typename Fn>
Fn User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

VisibilityFeed::VisibilityFeed(HWND window) : window_(window) {
  if (const auto reg = User32Function<RegisterFn>("RegisterPowerSettingNotification")) {
    consoleDisplay_ = reg(window, &kConsoleDisplayState, kNotifyForWindow);
    sessionDisplay_ = reg(window, &kSessionDisplayStatus, kNotifyForWindow);
  }
  sessionRegistered_ = WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION) != FALSE;
}

VisibilityFeed::~VisibilityFeed() {
  if (const auto unreg = User32Function<UnregisterFn>("UnregisterPowerSettingNotification")) {
    if (consoleDisplay_) unreg(consoleDisplay_);
    if (sessionDisplay_) unreg(sessionDisplay_);
  }
  if (sessionRegistered_) WTSUnRegisterSessionNotification(window_);
}

bool VisibilityFeed::OnPowerBroadcast(WPARAM wp, LPARAM lp) {
  if (wp != kPowerSettingChange || lp == 0) return false;
  const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lp);
  const bool display = IsEqualGUID(setting->PowerSetting, kConsoleDisplayState) ||
                       IsEqualGUID(setting->PowerSetting, kSessionDisplayStatus);
  if (!display || setting->DataLength < sizeof(DWORD)) return false;
  DWORD value = 0;
  std::memcpy(&value, setting->Data, sizeof value);  // Data is a byte array: no aligned read
  return state_.OnDisplay(saver::DisplayStateFromValue(value));
}

bool VisibilityFeed::OnSessionChange(WPARAM wp) {
  switch (wp) {
    case WTS_SESSION_LOCK: return state_.OnSession(saver::SessionEvent::kLock);
    case WTS_SESSION_UNLOCK: return state_.OnSession(saver::SessionEvent::kUnlock);
    case WTS_CONSOLE_DISCONNECT:
    case WTS_REMOTE_DISCONNECT: return state_.OnSession(saver::SessionEvent::kDisconnect);
    case WTS_CONSOLE_CONNECT:
    case WTS_REMOTE_CONNECT: return state_.OnSession(saver::SessionEvent::kConnect);
    default: return false;
  }
}

}  // namespace kovaren::win32
