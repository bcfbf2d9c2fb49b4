#include "music/saver_music.h"

#include "text/cp932.h"

namespace kovaren::music {
namespace {
constexpr int kLeftArrow = 37;   // VK_LEFT: previous CD track
constexpr int kRightArrow = 39;  // VK_RIGHT: next CD track
}  // namespace

SaverMusic::SaverMusic(MciPort& port, const Settings& settings) : settings_(settings), music_(port, settings) {}

// A music file is told by the last three characters of its name, in any case: "song.Mp3" is MP3.
SaverMusic::FileKind SaverMusic::FileMusic() const {
  if (settings_.bgmKind != bgm::kFile) return FileKind::None;
  const std::string ending = text::UpperLastCharacters(settings_.bgmFile, 3);
  if (ending == "WAV") return FileKind::Wav;
  if (ending == "MP3") return FileKind::Mp3;
  return FileKind::None;
}

SaverMusic::Timers SaverMusic::Start() {
  Timers timers;
  if (settings_.bgmKind == bgm::kAudioCd) {
    music_.CdOpen();
    timers.cdPollTimer = true;  // the first poll, 200 ms on, starts the disc
    return timers;
  }
  switch (FileMusic()) {
    case FileKind::Wav:
      music_.WavStart();  // loops on its own, nothing to poll
      break;
    case FileKind::Mp3:
      music_.Mp3Start();
      timers.mp3PollTimer = true;  // even when the open failed: the poll's restarts then fail harmlessly
      break;
    case FileKind::None:
      break;
  }
  return timers;
}

void SaverMusic::OnMp3PollTimer() { music_.Mp3Poll(); }

bool SaverMusic::OnCdPollTimer() {
  music_.CdPoll();
  return music_.CdOk();
}

bool SaverMusic::TakesKey(int keyCode) {
  if (settings_.bgmKind != bgm::kAudioCd) return false;
  // The arrows stay track keys even after polling stopped: they must not end the saver.
  if (keyCode == kLeftArrow) {
    music_.CdPrevTrack();
    return true;
  }
  if (keyCode == kRightArrow) {
    music_.CdNextTrack();
    return true;
  }
  return false;
}

void SaverMusic::StopForExit(bool cdPollTimerWasOn) {
  // A CD whose polling already stopped is left alone; the process end releases it.
  if (cdPollTimerWasOn) music_.CdClose();
  switch (FileMusic()) {
    case FileKind::Wav:
      music_.WavStop();
      break;
    case FileKind::Mp3:
      music_.Mp3Close();
      break;
    case FileKind::None:
      break;
  }
}

}  // namespace kovaren::music
