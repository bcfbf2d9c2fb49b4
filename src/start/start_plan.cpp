#include "start/start_plan.h"

#include <string>

#include "start/command_line.h"

namespace kovaren::start {
namespace {

constexpr char16_t kSaverLetter = u'S';
constexpr char16_t kDialogLetter = u'C';
constexpr char16_t kPreviewLetter = u'P';

}  // namespace

StartPlan PlanStart(const StartFacts& facts) {
  StartPlan plan;
  // A running saver or dialog wins over every switch: while the dialog is open no preview and no saver
  // can start, and nothing is read.
  if (facts.anotherInstanceShows) return plan;

  const std::u16string text = CommandText(facts.commandLine);
  const char16_t letter = ModeLetter(text);
  if (letter == kPreviewLetter) {
    // The preview shows a fixed picture: the settings file is not read.
    plan.mode = Mode::Preview;
    plan.host = HostHandle(text);
    return plan;
  }

  // Every other start reads the settings first, even one that then ends without showing anything.
  plan.readSettings = true;
  if (letter == kDialogLetter) {
    plan.mode = Mode::SettingsDialog;  // a handle after the switch (/c:1234) is no owner: it is ignored
  } else if (letter == kSaverLetter) {
    plan.mode = Mode::Saver;
    plan.take = {.cursorHidden = true, .saverRunningSet = true};
  } else if (text.empty()) {
    // Started by hand: the saver, but the cursor stays and the system keys stay allowed.
    plan.mode = Mode::Saver;
  }
  return plan;
}

}  // namespace kovaren::start
