// A scripted multimedia device behind the music module's port: a CD drive ("cdaudio") with a disc of
// tracks that plays while the test advances time, an MPEGVideo player for files opened under an
// alias, and a wave player. It answers the command strings the way winmm does and records every one.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "music/mci_port.h"

namespace kovaren::fake {

class FakeMci final : public music::MciPort {
 public:
  // Error codes as winmm numbers them.
  static constexpr int32_t kUnrecognizedCommand = 261;
  static constexpr int32_t kUnknownDevice = 263;     // no such device or alias open
  static constexpr int32_t kNoDriver = 266;          // no CD drive at all
  static constexpr int32_t kFileNotFound = 275;
  static constexpr int32_t kNotReady = 276;          // drive without a disc
  static constexpr int32_t kOutOfRange = 282;        // a track beyond the disc
  static constexpr int32_t kBadTimeFormat = 293;     // a position that is not tt[:mm[:ss[:ff]]]

  // CD drive. By default there is a drive with no disc.
  bool cdDrivePresent = true;
  void InsertDisc(int tracks, int trackLengthMs = 180'000);
  int cdTrack = 0;         // current track, 1-based (0: no disc)
  int cdOffsetMs = 0;      // position inside the current track
  bool cdPlaying = false;
  bool cdOpen = false;
  int cdTracks() const { return static_cast<int>(trackLengthsMs_.size()); }

  // MPEGVideo player: files that open, and the one open under its alias.
  void AddPlayableFile(const std::string& path, int lengthMs);
  std::optional<std::string> openAlias;  // alias of the open file
  std::string openFile;
  bool filePlaying = false;
  int fileOffsetMs = 0;

  // Wave output and the sound player.
  uint32_t waveDevices = 2;
  struct Sound {
    std::optional<std::string> name;
    uint32_t flags;
    bool operator==(const Sound&) const = default;
  };
  std::vector<Sound> sounds;

  // Error texts: "MCI error N" while true, the lookup fails while false.
  bool errorTextsAvailable = true;

  // A scripted answer for one exact command, winning over the device model for every send.
  void Script(const std::string& command, int32_t code, std::string reply = {});

  // Time passes for whatever plays.
  void Advance(int ms);

  struct Sent {
    std::string command;
    size_t replyCapacity;
    int32_t result;
  };
  std::vector<Sent> sent;
  std::vector<std::string> Commands() const;  // the command strings in order
  void ClearLog() { sent.clear(); sounds.clear(); }

  // The port.
  int32_t SendString(std::string_view command, std::span<char> reply) override;
  bool GetErrorString(int32_t code, std::span<char> buffer) override;
  uint32_t WaveOutDeviceCount() override { return waveDevices; }
  int32_t PlaySound(std::optional<std::string_view> name, uint32_t flags) override;

 private:
  struct Answer {
    int32_t code = 0;
    std::string reply;
  };
  Answer Handle(const std::string& command);
  Answer HandleCd(const std::vector<std::string>& words);
  Answer HandleFile(const std::string& command, const std::vector<std::string>& words);
  Answer CdPlayFrom(const std::string& position);

  std::vector<int> trackLengthsMs_;
  std::map<std::string, int> playableFiles_;  // path -> length in ms
  std::map<std::string, Answer> scripted_;
};

}  // namespace kovaren::fake
