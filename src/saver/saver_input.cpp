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

ExitPlan PlanExit(char16_t modeLetter, bool cdPollTimerOn) {
  ExitPlan plan;
  plan.stopCdPolling = cdPollTimerOn;
  // Only the full-screen switch hid the cursor and set the saver-running state; an empty command
  // line took neither, so there is nothing to give back.
  const bool fullScreenSwitch = modeLetter == u'S';
  plan.allowSystemKeys = fullScreenSwitch;
  // Start-up hid the cursor with exactly one ShowCursor(FALSE); one ShowCursor(TRUE) undoes it
  // whatever count that call returned (passing the saved count would hide it further when it was 0).
  plan.showCursor = fullScreenSwitch;
  plan.reactivateSystemSaver = true;
  return plan;
}

}  // namespace kovaren::saver
