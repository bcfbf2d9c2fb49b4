#include "saver/saver_input.h"

#include "music/saver_music.h"

namespace kovaren::saver {

InputResponse RespondTo(const SaverInput& input, music::SaverMusic& music) {
  switch (input.kind) {
    case SaverInput::Kind::KeyDown:
      return music.TakesKey(input.keyCode) ? InputResponse::MusicTook : InputResponse::EndSaver;
    case SaverInput::Kind::ButtonDown:
      return InputResponse::EndSaver;
    case SaverInput::Kind::ButtonUp:
    case SaverInput::Kind::PointerMoved:
    case SaverInput::Kind::Wheel:
      return InputResponse::Ignore;
  }
  return InputResponse::Ignore;
}

ExitPlan PlanExit(const TakenAtStart& taken, bool cdPollTimerOn) {
  ExitPlan plan;
  plan.stopCdPolling = cdPollTimerOn;
  // Only what start-up took is given back: a saver started without a switch took nothing.
  plan.allowSystemKeys = taken.saverRunningSet;
  // Start-up hid the cursor with exactly one ShowCursor(FALSE); one ShowCursor(TRUE) undoes it
  // whatever count that call returned (passing the saved count would hide it further when it was 0).
  plan.showCursor = taken.cursorHidden;
  plan.reactivateSystemSaver = true;
  return plan;
}

}  // namespace kovaren::saver
