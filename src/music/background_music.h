// Folder src/music owns the background music: the device commands (this file), what the saver asks of
// them on start, its poll timers, keys and exit (saver_music.h), and the port to the platform's
// multimedia services (mci_port.h, bound to winmm in winmm_port_win32.cpp).
//
// Background music: audio CD through the "cdaudio" device, an MP3 file through an
// MPEGVideo device under the alias "MP3Play", a WAV file through the sound player. Every device is
// reached through command strings on the injected port; replies land in four fixed buffers that keep
// their last content between calls. No window and no timer of its own: the saver calls in.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings_file/settings.h"
#include "music/mci_port.h"

namespace kovaren::music {

// Sound-player flags: SND_ASYNC | SND_LOOP. The name goes without SND_FILENAME, so a sound alias of
// that name wins over a file.
constexpr uint32_t kLoopAsync = 0x0009;

// Result of MciSend for an empty command (nothing is sent).
constexpr int32_t kNoCommand = -1;

// The module's two fixed reply texts, code page 932.
// "コマンド文字列が指定されていません": no command string given.
inline constexpr std::string_view kReplyNoCommand =
    "\x83\x52\x83\x7d\x83\x93\x83\x68\x95\xb6\x8e\x9a\x97\xf1\x82\xaa\x8e\x77\x92\xe8\x82\xb3\x82\xea"
    "\x82\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1";
// "Error (文字列が取れません)": the error's text could not be obtained.
inline constexpr std::string_view kReplyNoErrorText =
    "Error (\x95\xb6\x8e\x9a\x97\xf1\x82\xaa\x8e\xe6\x82\xea\x82\xdc\x82\xb9\x82\xf1)";

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

  // Sends `command`; `reply` receives the device's answer or the error's text. 0 on success.
  int32_t MciSend(std::string_view command, std::string& reply);
  // The reply, or "Error:" and the code: callers spot failure by "ERR" in the upper-cased text.
  std::string MciQuery(std::string_view command);
  // "play DEVICE[ from FROM][ to TO]".
  int32_t MciPlay(std::string_view device, std::string_view from, std::string_view to);

  // False once a CD poll found the disc unusable (no drive, no disc, a device error).
  bool CdOk() const { return cdOk_; }
  const std::string& MciReply() const { return mciReply_; }
  int32_t LastResult() const { return lastResult_; }

 private:
  void ChangeTrack(int delta);
  void Send(std::string_view command);  // without reply

  MciPort& port_;
  const Settings& settings_;
  bool cdOk_ = false;
  std::string mciReply_;
  int32_t lastResult_ = 0;
  std::array<char, 512> mciReplyBuf_{};
  std::array<char, 256> mciErrorBuf_{};
  std::array<char, 255> cdModeBuf_{};
  std::array<char, 30> mp3ModeBuf_{};
};

}  // namespace kovaren::music
