// Folder src/music owns the background music: what each kind of music does (this file) over the
// device commands (device_commands.h), what the saver asks of them on start, its poll timers, keys
// and exit (saver_music.h), and the port to the platform's multimedia services (mci_port.h, bound to
// winmm in winmm_port_win32.cpp). The X11 program plays its file through GStreamer instead
// (gst_music_x11.h), with nothing of the above.
//
// Background music: audio CD through the "cdaudio" device, an MP3 file through an
// MPEGVideo device under the alias "MP3Play", a WAV file through the sound player. Every device is
// reached through command strings on the injected port; replies land in fixed buffers that keep
// their last content between calls. No window and no timer of its own: the saver calls in.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings_file/settings.h"
#include "music/device_commands.h"
#include "music/mci_port.h"

namespace kovaren::music {

// Sound-player flags: SND_ASYNC | SND_LOOP. The name goes without SND_FILENAME, so a sound alias of
// that name wins over a file.
constexpr uint32_t kLoopAsync = 0x0009;

class BackgroundMusic {
 public:
  // Reads bgmFile and bgmRepeat from `settings` at each call; both must outlive the module.
  BackgroundMusic(MciPort& port, const Settings& settings);

  // Audio CD.
  void CdOpen();
  void CdPoll();
  void CdNextTrack();
  void CdPrevTrack();
  void CdClose();
  // MP3 file.
  void Mp3Start();
  void Mp3Poll();
  bool Mp3IsPlaying();
  void Mp3Close();
  // WAV file.
  void WavStart();
  void WavStop();

  // False once a CD poll found the disc unusable (no drive, no disc, a device error).
  bool CdOk() const { return cdOk_; }

 private:
  void ChangeTrack(int delta);

  MciPort& port_;
  DeviceCommands device_;
  const Settings& settings_;
  bool cdOk_ = false;
  std::array<char, 255> cdModeBuf_{};
  std::array<char, 30> mp3ModeBuf_{};
};

}  // namespace kovaren::music
