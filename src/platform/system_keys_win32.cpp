#include "platform/system_keys_win32.h"

#include <windows.h>

namespace kovaren::win32 {

void AllowSystemKeys(bool allow) {
  // uiParam is the complement of the 16-bit boolean: FALSE -> all bits set (running), TRUE -> 0.
  const UINT running = allow ? 0u : ~0u;
  SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, running, nullptr, 0);  // result deliberately ignored
}

}  // namespace kovaren::win32
