// The settings dialog's entry point and the caption that marks it as running.
#pragma once
#include "platform/start_context_win32.h"
#include "settings_file/settings.h"

namespace kovaren::win32 {

// Start-up refuses to run while a window bears this caption; the dialog takes it from here so the two
// cannot drift apart. Fixed, never changed at run time.
inline constexpr wchar_t kDialogCaption[] = L"\xFF1CKovaren\xFF1E";  // ＜Kovaren＞

// Modal, no owner. Returns when it has closed.
void RunSettingsDialog(const StartContext& context, Settings& settings);

}  // namespace kovaren::win32
