// What the saver does with input and how it ends: pure decisions, so the window procedure only maps
// messages to SaverInput and carries out an ExitPlan. Nothing here touches the platform.
#pragma once

namespace kovaren::music {
class SaverMusic;
}

namespace kovaren::saver {

struct SaverInput {
  enum class Kind {
    KeyDown,       // a key went down (system keys such as Alt or F10 too)
    ButtonDown,    // any mouse button went down: left, right, middle or an extra button
    ButtonUp,      // a button came up; the press already decided
    PointerMoved,  // includes the one move the system sends when the window appears
    Wheel,         // turning the wheel is not a click
  };
  Kind kind;
  int keyCode = 0;  // virtual-key code, for KeyDown only
};

enum class InputResponse {
  Ignore,      // the saver keeps running, nothing to do
  MusicTook,   // the music used the key (a track change); the saver keeps running
  EndSaver,    // run the exit plan
};

// Asks the music first about keys (the arrows change tracks while an audio CD plays).
InputResponse RespondTo(const SaverInput& input, music::SaverMusic& music);

// What start-up took from the system before the saver started; ending the saver gives back exactly
// this. Only the full-screen switch takes anything.
struct TakenAtStart {
  bool cursorHidden = false;     // one ShowCursor(FALSE)
  bool saverRunningSet = false;  // the system's saver-running state, which blocks the task-switch keys
  bool operator==(const TakenAtStart&) const = default;
};

// What ending the saver gives back. Steps are carried out in the order of the fields.
struct ExitPlan {
  bool stopCdPolling = false;       // the CD poll timer was still on: stop it; the music then closes the CD
  bool allowSystemKeys = false;     // undo the "saver running" state that start-up set
  bool showCursor = false;          // undo start-up's one ShowCursor(FALSE)
  bool reactivateSystemSaver = true;  // SPI_SETSCREENSAVEACTIVE 1, profile untouched: in every mode
};

// `taken` is what start-up took; `cdPollTimerOn` is the CD poll's state at exit.
ExitPlan PlanExit(const TakenAtStart& taken, bool cdPollTimerOn);

}  // namespace kovaren::saver
