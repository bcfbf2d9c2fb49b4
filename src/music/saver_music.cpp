#include "music/saver_music.h"

#include "text/cp932.h"

namespace kovaren::music {
namespace {
constexpr int kLeftArrow = 37;   // VK_LEFT: previous CD track
constexpr int kRightArrow = 39;  // VK_RIGHT: next CD track
}  // namespace

SaverMusic::SaverMusic(MciPort& port, const Settings& settings) : settings_(settings), bgm_(port, settings) {}

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
    bgm_.CdOpen();
    timers.timer2 = true;  // the first poll, 200 ms on, starts the disc
    return timers;
  }
  switch (FileMusic()) {
    case FileKind::Wav:
      bgm_.WavStart();  // loops on its own, nothing to poll
      break;
    case FileKind::Mp3:
      bgm_.Mp3Start();
      timers.timer1 = true;  // even when the open failed: the poll's restarts then fail harmlessly
      break;
    case FileKind::None:
      break;
  }
  return timers;
}

void SaverMusic::OnTimer1() { bgm_.Mp3Poll(); }

bool SaverMusic::OnTimer2() {
  bgm_.CdPoll();
  return bgm_.CdOk();
}

bool SaverMusic::TakesKey(int keyCode) {
  if (settings_.bgmKind != bgm::kAudioCd) return false;
  // The arrows stay track keys even after polling stopped: they must not end the saver.
  if (keyCode == kLeftArrow) {
    bgm_.CdPrevTrack();
    return true;
  }
  if (keyCode == kRightArrow) {
    bgm_.CdNextTrack();
    return true;
  }
  return false;
}

void SaverMusic::StopForExit(bool timer2WasEnabled) {
  // A CD whose polling already stopped is left alone; the process end releases it.
  if (timer2WasEnabled) bgm_.CdClose();
  switch (FileMusic()) {
    case FileKind::Wav:
      bgm_.WavStop();
      break;
    case FileKind::Mp3:
      bgm_.Mp3Close();
      break;
    case FileKind::None:
      break;
  }
}

}  // namespace kovaren::music
