// Folder src/main owns the program's start: the entry procedure and instance guard (this file), the
// command line (command_line), the hand-over to the three modes (modes_win32.h), and the resource
// script and manifest that make up Kovaren.scr. Each mode's window lives in its own folder.
//
// Main: the program's entry. Refuses to run beside a running saver or settings dialog, reads the mode
// from the command line, reads the settings (except for the preview) and hands over to one window.
#include <windows.h>

#include <string>

#include "main/command_line.h"
#include "main/modes_win32.h"
#include "settings_file/settings.h"
#include "settings_file/settings_places_win32.h"
#include "platform/text_win32.h"

namespace kovaren::win32 {
namespace {

bool AnotherInstanceShows() {
  // Both lookups always run, even when the first finds a window: neither depends on the other.
  const bool saver = FindWindowW(nullptr, kSaverCaption) != nullptr;
  const bool dialog = FindWindowW(nullptr, kDialogCaption) != nullptr;
  return saver || dialog;
}

}  // namespace

void AllowSystemKeys(bool allow) {
  // uiParam is the complement of the 16-bit boolean: FALSE -> all bits set (running), TRUE -> 0.
  const UINT running = allow ? 0u : ~0u;
  SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, running, nullptr, 0);  // result deliberately ignored
}

int Main(HINSTANCE instance) {
  if (AnotherInstanceShows()) return 0;

  StartContext context;
  context.instance = instance;
  const wchar_t* full = GetCommandLineW();
  context.commandText = CommandText(reinterpret_cast<const char16_t*>(full));
  context.modeLetter = ModeLetter(context.commandText);

  if (context.modeLetter == u'P') {
    const int32_t handle = HostHandle(context.commandText);
    RunPreview(context, reinterpret_cast<HWND>(static_cast<intptr_t>(handle)));
    return 0;
  }

  static Settings settings;  // the settings record: module state for the whole run
  FileSystem& files = PlatformFileSystem();
  LoadSettings(settings, SettingsFileInUse(ThisUsersSettingsPlaces(), files), files);

  if (context.modeLetter == u'C') {
    RunSettingsDialog(context, settings);
    return 0;
  }
  if (context.modeLetter != u'S' && !context.commandText.empty()) return 0;
  if (context.modeLetter == u'S') {
    context.savedCursorCount = ShowCursor(FALSE);
    AllowSystemKeys(false);
  }
  RunSaver(context, settings);
}

}  // namespace kovaren::win32

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Ending the program ends the process at once: no window's clean-up runs after Main.
  ExitProcess(static_cast<UINT>(kovaren::win32::Main(instance)));
}
