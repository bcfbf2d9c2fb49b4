// The settings dialog's music file chooser: the system's file-open dialog for one MP3 or WAV file.
#pragma once
#include <windows.h>

#include "settings_dialog/dialog_logic.h"

namespace kovaren::win32 {

// Asks the user for a music file, in a dialog owned by `owner`. Not chosen when the user cancelled
// or the system could not show the dialog.
dialog::FileChooserAnswer AskForMusicFile(HWND owner, HINSTANCE instance);

}  // namespace kovaren::win32
