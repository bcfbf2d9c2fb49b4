// Folder src/start owns start-up decided portably, for both programs: the command line a Windows
// screen-saver host hands over (command_line.h), this start plan, and the switches of the X11 program
// kovaren (hack_switches.h). Nothing here touches a window system; each shell reads the facts.
//
// What start-up does, decided from what the shell reads before anything shows: the mode, whether the
// settings are read, which window runs, and what the system is asked for before the saver starts.
// Portable; the shell reads the facts, asks PlanStart and carries the answer out: it reads the
// settings, takes from the system what `take` says, then starts the mode.
#pragma once
#include <string_view>

#include "preview/host_window.h"
#include "saver/saver_input.h"

namespace kovaren::start {

enum class Mode {
  Nothing,         // end at once: another instance shows, or a switch we do not serve
  Saver,           // the full-screen saver
  SettingsDialog,  // the settings dialog, modal, without an owner
  Preview,         // the still miniature inside the host's window
};

struct StartFacts {
  bool anotherInstanceShows = false;  // a window bears the saver's or the settings dialog's caption
  std::u16string_view commandLine;    // the whole command line, the program's own name included
};

struct StartPlan {
  Mode mode = Mode::Nothing;
  bool readSettings = false;      // read the settings file before the mode starts
  preview::HostWindow host{};     // Preview: the host's window (which may name none; the preview decides)
  saver::TakenAtStart take{};     // Saver: hide the cursor, set the system's saver-running state
  bool operator==(const StartPlan&) const = default;
};

StartPlan PlanStart(const StartFacts& facts);

}  // namespace kovaren::start
