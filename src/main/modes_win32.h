// The three modes Main hands control to. Each lives in its own subsystem's folder.
#pragma once
#include <windows.h>

#include <string>

#include "settings_file/settings.h"

namespace kovaren::win32 {

// The captions that mark a running instance: start-up refuses to run while a window bears either.
// Fixed, never changed at run time; the saver and the dialog take theirs from here so the two sides
// cannot drift apart.
inline constexpr wchar_t kSaverCaption[] = L"Tesmar_Main";
inline constexpr wchar_t kDialogCaption[] = L"\xFF1CKovaren\xFF1E";  // ＜Kovaren＞

// What start-up knows and the modes need.
struct StartContext {
  HINSTANCE instance = nullptr;
  std::u16string commandText;  // the argument part of the command line
  char16_t modeLetter = 0;     // second character, upper-cased; 0 when there is none
  int savedCursorCount = 0;    // what ShowCursor(FALSE) returned, for the "S" switch only
};

// Full-screen saver (src/saver). Does not return: the saver ends the process.
[[noreturn]] void RunSaver(StartContext& context, Settings& settings);
// Settings dialog (src/settings), modal, no owner. Returns when it has closed.
void RunSettingsDialog(const StartContext& context, Settings& settings);
// Preview inside the host's window (src/preview/preview_win32.cpp). Returns when the preview is gone.
void RunPreview(const StartContext& context, HWND host);

// SPI_SETSCREENSAVERRUNNING: allow = false tells the system a screen saver is running.
void AllowSystemKeys(bool allow);

}  // namespace kovaren::win32
