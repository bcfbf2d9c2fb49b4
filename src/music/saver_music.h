// The saver's music: what the saver window asks of the music module at start, on its two timers, on
// a key and at exit. The saver owns the timers; this class decides what they do.
#pragma once
#include "settings_file/settings.h"
#include "music/background_music.h"
#include "music/mci_port.h"

namespace kovaren::music {

constexpr unsigned kMp3PollIntervalMs = 1000;  // how often an ended MP3 file is looked for
constexpr unsigned kCdPollIntervalMs = 200;    // how often the audio CD is asked for its state

class SaverMusic {
 public:
  SaverMusic(MciPort& port, const Settings& settings);

  struct Timers {
    bool mp3PollTimer = false;  // enable the 1000 ms MP3 poll
    bool cdPollTimer = false;   // enable the 200 ms CD poll
  };
  // Starts what the settings choose and says which timers to enable.
  Timers Start();
  // MP3 poll tick: restarts an MP3 that has stopped.
  void OnMp3PollTimer();
  // CD poll tick: polls the CD. Returns the CD poll timer's new state (false: polling stops for good).
  bool OnCdPollTimer();
  // True when the key is a track change the music took (left/right arrow with the audio CD);
  // false when the key should end the saver.
  bool TakesKey(int keyCode);
  // Exit steps: close the CD when its timer was still enabled, stop the file music.
  void StopForExit(bool cdPollTimerWasOn);

  // The music underneath, for what the saver may want to read (CdOk).
  const BackgroundMusic& Devices() const { return music_; }

 private:
  enum class FileKind { None, Wav, Mp3 };
  FileKind FileMusic() const;

  const Settings& settings_;
  BackgroundMusic music_;
};

}  // namespace kovaren::music
