// The full-screen saver window's entry point and the caption that marks it as running.
#pragma once
#include "platform/start_context_win32.h"
#include "saver/saver_input.h"
#include "settings_file/settings.h"

namespace kovaren::win32 {

// Start-up refuses to run while a window bears this caption; the window takes it from here so the two
// cannot drift apart. Fixed, never changed at run time.
inline constexpr wchar_t kSaverCaption[] = L"Tesmar_Main";
// The saver window's class, which shares the caption's name; a test host finds the window by it.
inline constexpr wchar_t kSaverClass[] = L"Tesmar_Main";

// The registered window message the saver answers with the passes it has run, so that a soak run can
// read the pass rate from outside; a pass pays only an increment for it, and nothing is asked unless
// somebody sends it. The reply is the count's low 32 bits (LRESULT is 32 bits wide in the 32-bit
// build): at 60 passes a second they wrap after about two years, and a reader takes differences.
// Not input: asking never ends the saver.
inline constexpr wchar_t kPassCountMessageName[] = L"KovarenPassCount";

// Full-screen saver. `taken` is what start-up took from the system, given back when the saver ends.
// Does not return: the saver ends the process.
[[noreturn]] void RunSaver(StartContext& context, const saver::TakenAtStart& taken, Settings& settings);

}  // namespace kovaren::win32
