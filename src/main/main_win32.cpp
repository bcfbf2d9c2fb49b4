// Folder src/main holds each program's entry on top of everything else: Kovaren.scr's entry procedure
// (this file), resource script and manifest (_win32), and kovaren's main (main_x11.cpp). What
// start-up decides lives in src/start; each mode's window lives in its own folder.
//
// Main reads what the system says (the command line, whether a saver or settings dialog already
// shows), asks the start plan what to do, and carries the plan out: read the settings, take what the
// saver needs from the system, hand over to one window.
#include <windows.h>

#include "platform/start_context_win32.h"
#include "platform/system_keys_win32.h"
#include "preview/preview_win32.h"
#include "saver/saver_win32.h"
#include "settings_dialog/dialog_win32.h"
#include "settings_file/settings.h"
#include "settings_file/settings_places_win32.h"
#include "start/start_plan.h"

namespace kovaren::win32 {
namespace {

bool AnotherInstanceShows() {
  // Both lookups always run, even when the first finds a window: neither depends on the other.
  const bool saver = FindWindowW(nullptr, kSaverCaption) != nullptr;
  const bool dialog = FindWindowW(nullptr, kDialogCaption) != nullptr;
  return saver || dialog;
}

start::StartFacts ReadStartFacts() {
  return {.anotherInstanceShows = AnotherInstanceShows(),
          .commandLine = reinterpret_cast<const char16_t*>(GetCommandLineW())};
}

// What the full-screen switch takes before the saver starts; the saver gives it back at its end.
void TakeFromSystem(const saver::TakenAtStart& take, StartContext& context) {
  if (take.cursorHidden) context.savedCursorCount = ShowCursor(FALSE);
  if (take.saverRunningSet) AllowSystemKeys(false);
}

int Main(HINSTANCE instance) {
  const start::StartPlan plan = start::PlanStart(ReadStartFacts());
  StartContext context{.instance = instance};
  Settings settings;  // lives as long as Main: the saver never returns to it
  if (plan.readSettings) {
    FileSystem& files = PlatformFileSystem();
    LoadSettings(settings, SettingsFileInUse(ThisUsersSettingsPlaces(), files), files);
  }
  switch (plan.mode) {
    case start::Mode::Preview:
      RunPreview(context, plan.host);
      return 0;
    case start::Mode::SettingsDialog:
      RunSettingsDialog(context, settings);
      return 0;
    case start::Mode::Saver:
      TakeFromSystem(plan.take, context);
      RunSaver(context, plan.take, settings);
    case start::Mode::Nothing:
      return 0;
  }
  return 0;
}

}  // namespace
}  // namespace kovaren::win32

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Ending the program ends the process at once: no window's clean-up runs after Main.
  ExitProcess(static_cast<UINT>(kovaren::win32::Main(instance)));
}
