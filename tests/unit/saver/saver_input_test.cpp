// What input does to the running saver and what ending it gives back to the system.
#include "saver/saver_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings_file/settings.h"
#include "music/mci_port.h"
#include "music/saver_music.h"

namespace kovaren::saver {
namespace {

// A machine without any multimedia device: the saver must still end on input.
class NoDevices final : public music::MciPort {
 public:
  int32_t SendString(std::string_view, std::span<char>) override { return 266; }
  bool GetErrorString(int32_t, std::span<char>) override { return false; }
  uint32_t WaveOutDeviceCount() override { return 0; }
  int32_t PlaySound(std::optional<std::string_view>, uint32_t) override { return 0; }
};

constexpr int kVkLeft = 37, kVkRight = 39, kVkEscape = 27, kVkSpace = 32, kVkA = 65, kVkMenu = 18,
              kVkF10 = 121, kVkShift = 16;

using Kind = SaverInput::Kind;

TEST(SaverInput, WithoutCdMusicEveryKeyAndEveryButtonEndsTheSaverButMovingDoesNot) {
  for (const int16_t bgmKind : {bgm::kNone, bgm::kFile}) {
    Settings settings;
    settings.bgmKind = bgmKind;
    settings.bgmFile = "C:\\music\\song.mp3";
    NoDevices port;
    music::SaverMusic music(port, settings);
    struct Case {
      SaverInput input;
      InputResponse expected;
    };
    const std::vector<Case> cases = {
        {{Kind::KeyDown, kVkLeft}, InputResponse::EndSaver},  // arrows change tracks only for the CD
        {{Kind::KeyDown, kVkRight}, InputResponse::EndSaver},
        {{Kind::KeyDown, kVkEscape}, InputResponse::EndSaver},
        {{Kind::KeyDown, kVkSpace}, InputResponse::EndSaver},
        {{Kind::KeyDown, kVkA}, InputResponse::EndSaver},
        {{Kind::KeyDown, kVkShift}, InputResponse::EndSaver},  // modifiers are keys too
        {{Kind::KeyDown, kVkMenu}, InputResponse::EndSaver},   // Alt arrives as a system key
        {{Kind::KeyDown, kVkF10}, InputResponse::EndSaver},
        {{Kind::ButtonDown}, InputResponse::EndSaver},
        {{Kind::ButtonUp}, InputResponse::Ignore},  // a release after the press must not count twice
        {{Kind::PointerMoved}, InputResponse::Ignore},
        {{Kind::Wheel}, InputResponse::Ignore},
    };
    for (const Case& c : cases) {
      EXPECT_EQ(RespondTo(c.input, music), c.expected)
          << "bgmKind " << bgmKind << " kind " << static_cast<int>(c.input.kind) << " key " << c.input.keyCode;
    }
  }
}

TEST(SaverInput, WithCdMusicTheArrowsChangeTracksEvenWithoutADiscAndOtherInputStillEnds) {
  Settings settings;
  settings.bgmKind = bgm::kAudioCd;
  NoDevices port;  // no drive at all: polling would have stopped, the arrows must still not end the saver
  music::SaverMusic music(port, settings);
  music.Start();
  struct Case {
    SaverInput input;
    InputResponse expected;
  };
  const std::vector<Case> cases = {
      {{Kind::KeyDown, kVkLeft}, InputResponse::MusicTook},
      {{Kind::KeyDown, kVkRight}, InputResponse::MusicTook},
      {{Kind::KeyDown, 38}, InputResponse::EndSaver},  // up and down are ordinary keys
      {{Kind::KeyDown, 40}, InputResponse::EndSaver},
      {{Kind::KeyDown, kVkEscape}, InputResponse::EndSaver},
      {{Kind::ButtonDown}, InputResponse::EndSaver},
      {{Kind::PointerMoved}, InputResponse::Ignore},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RespondTo(c.input, music), c.expected)
        << "kind " << static_cast<int>(c.input.kind) << " key " << c.input.keyCode;
  }
}

TEST(SaverInput, ExitGivesBackOnlyWhatTheSwitchTookAndAlwaysReactivatesTheSystemSaver) {
  struct Case {
    TakenAtStart taken;
    bool cdPollTimerOn;
    ExitPlan expected;
  };
  constexpr TakenAtStart kFullScreenSwitch{.cursorHidden = true, .saverRunningSet = true};
  constexpr TakenAtStart kNothing{};
  // Fields: stopCdPolling, allowSystemKeys, showCursor, reactivateSystemSaver.
  const std::vector<Case> cases = {
      {kFullScreenSwitch, false, {false, true, true, true}},
      {kFullScreenSwitch, true, {true, true, true, true}},
      {kNothing, false, {false, false, false, true}},  // empty command line: nothing was taken
      {kNothing, true, {true, false, false, true}},
      // each part is given back on its own
      {{.cursorHidden = true}, false, {false, false, true, true}},
      {{.saverRunningSet = true}, false, {false, true, false, true}},
  };
  for (const Case& c : cases) {
    const ExitPlan plan = PlanExit(c.taken, c.cdPollTimerOn);
    const std::string label = std::string("cursor ") + (c.taken.cursorHidden ? "hidden" : "shown") +
                              (c.taken.saverRunningSet ? ", saver running set" : "") + (c.cdPollTimerOn ? ", CD poll on" : "");
    EXPECT_EQ(plan.stopCdPolling, c.expected.stopCdPolling) << label;
    EXPECT_EQ(plan.allowSystemKeys, c.expected.allowSystemKeys) << label;
    EXPECT_EQ(plan.showCursor, c.expected.showCursor) << label;
    EXPECT_EQ(plan.reactivateSystemSaver, c.expected.reactivateSystemSaver) << label;
  }
}

}  // namespace
}  // namespace kovaren::saver
