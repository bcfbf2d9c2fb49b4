// The full-screen saver window's entry point and the caption that marks it as running.
#pragma once
#include "platform/start_context_win32.h"
#include "saver/saver_input.h"
#include "settings_file/settings.h"

namespace kovaren::win32 {

// Start-up refuses to run while a window bears this caption; the window takes it from here so the two
// cannot drift apart. Fixed, never changed at run time.
inline constexpr wchar_t kSaverCaption[] = L"Tesmar_Main";

// Full-screen saver. `taken` is what start-up took from the system, given back when the saver ends.
// Does not return: the saver ends the process.
[[noreturn]] void RunSaver(StartContext& context, const saver::TakenAtStart& taken, Settings& settings);

}  // namespace kovaren::win32
