#include "music/background_music.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "gfx/rounding.h"
#include "text/cp932.h"
#include "text/decimal_number.h"

namespace kovaren::music {
namespace {

constexpr std::string_view kCd = "cdaudio";
constexpr std::string_view kCurrentTrack = "status cdaudio current track";
constexpr std::string_view kNumberOfTracks = "status cdaudio number of tracks";
constexpr std::string_view kCdMode = "status cdaudio mode";
constexpr std::string_view kTrackPosition = "status cdaudio position track ";
constexpr std::string_view kMp3Mode = "status MP3Play mode";
// Mode replies are judged by their first seven characters, wherever the device's text ends.
constexpr size_t kModeLength = 7;

// A device's reply: a number, possibly with a fraction, with blanks and line ends around it.
constexpr text::NumberRules kReplyNumber{.blanks = " \t\r\n", .fraction = true, .exponent = false, .fillsText = true};

// The number a reply's text reads as, as a double; nothing when the text is not a number in range.
std::optional<double> ReplyAsNumber(std::string_view text, const text::NumberRules& rules) {
  const auto number = text::ReadDecimal(text, rules);
  if (!number) return std::nullopt;
  const auto [magnitude, error] = number->MagnitudeAsDouble();
  if (error != std::errc()) return std::nullopt;
  return number->negative ? -magnitude : magnitude;
}

// The whole text as a decimal number; nothing when any part of it is not one.
std::optional<double> WholeTextAsNumber(std::string_view text) { return ReplyAsNumber(text, kReplyNumber); }

// The number that begins the text, rounded to a 16-bit integer; 0 when the text begins with no
// number or the number lies outside the 16-bit range.
int16_t LeadingTrackNumber(std::string_view text) {
  text::NumberRules leading = kReplyNumber;
  leading.fillsText = false;
  const std::optional<double> value = ReplyAsNumber(text, leading);
  if (!value) return 0;
  const double rounded = RoundHalfEven(*value);
  if (rounded < std::numeric_limits<int16_t>::min() || rounded > std::numeric_limits<int16_t>::max()) return 0;
  return static_cast<int16_t>(rounded);
}

bool IsFailureText(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), text::ToUpper<char>);
  return upper.find("ERR") != std::string::npos;
}

bool ModeIs(std::span<const char> buffer, std::string_view mode) {
  return std::string_view(buffer.data(), kModeLength) == mode;
}

// A path goes into the open command between double quotes. A quote inside it would end the name
// early and let the rest of the path be read as command keywords; control characters never occur
// in a real path. Such a name is refused rather than sent.
bool FitsBetweenQuotes(std::string_view path) {
  // Safe byte by byte: code page 932 trail bytes are never below 0x40.
  return std::none_of(path.begin(), path.end(),
                      [](char c) { return c == '"' || static_cast<unsigned char>(c) < 0x20; });
}

}  // namespace

BackgroundMusic::BackgroundMusic(MciPort& port, const Settings& settings)
    : port_(port), device_(port), settings_(settings) {}

void BackgroundMusic::CdOpen() {
  device_.Send("open cdaudio");
  device_.Send("set cdaudio time format tmsf");  // positions as track:minutes:seconds:frames
}

void BackgroundMusic::CdPoll() {
  cdOk_ = true;
  const std::string track = device_.Query(kCurrentTrack);
  if (IsFailureText(track)) {
    cdOk_ = false;
    return;
  }
  // The count only proves that the disc answers.
  if (IsFailureText(device_.Query(kNumberOfTracks))) {
    cdOk_ = false;
    return;
  }
  device_.SendInto(kCdMode, cdModeBuf_);
  const bool stopped = ModeIs(cdModeBuf_, "stopped");

  const int16_t repeat = settings_.bgmRepeat;
  if (repeat == 0) {
    if (stopped) device_.Play(kCd, {}, {});  // play on from where the disc is
    return;
  }
  // A current track that is not a number means the drive answers nonsense: give up polling.
  const std::optional<double> current = WholeTextAsNumber(track);
  if (!current) {
    cdOk_ = false;
    return;
  }
  if (stopped || *current != repeat) {
    // A track beyond the disc yields an error text here, and the device rejects the play below.
    const std::string start = device_.Query(std::string(kTrackPosition) + std::to_string(repeat));
    device_.Play(kCd, start, {});
  }
}

void BackgroundMusic::ChangeTrack(int delta) {
  const int track = LeadingTrackNumber(device_.Query(kCurrentTrack));
  // No wrap-around: a track before the first or after the last has no position, and the play
  // command built from the error text is rejected, so play goes on unchanged.
  const std::string start = device_.Query(std::string(kTrackPosition) + std::to_string(track + delta));
  device_.Play(kCd, start, {});
}

void BackgroundMusic::CdNextTrack() { ChangeTrack(+1); }
void BackgroundMusic::CdPrevTrack() { ChangeTrack(-1); }

void BackgroundMusic::CdClose() {
  device_.Send("stop cdaudio");
  device_.Send("close cdaudio");
}

void BackgroundMusic::Mp3Start() {
  const std::string& path = settings_.bgmFile;
  if (!FitsBetweenQuotes(path)) return;  // treated as a file that does not open
  device_.Send("open \"" + path + "\" type MPEGVideo Alias MP3Play");
  if (device_.LastResult() == 0) device_.Send("play MP3Play");
}

bool BackgroundMusic::Mp3IsPlaying() {
  device_.SendInto(kMp3Mode, mp3ModeBuf_);
  return ModeIs(mp3ModeBuf_, "playing");
}

void BackgroundMusic::Mp3Poll() {
  if (Mp3IsPlaying()) return;
  // Over and over: once the file has ended (or never opened), start it again from the beginning.
  device_.Send("stop MP3Play");
  device_.Send("play MP3Play from 0");
}

void BackgroundMusic::Mp3Close() {
  device_.Send("stop MP3Play");
  device_.Send("close MP3Play");
}

void BackgroundMusic::WavStart() {
  if (port_.WaveOutDeviceCount() == 0) return;  // no wave output device: nothing plays
  port_.PlaySound(settings_.bgmFile, kLoopAsync);  // nothing to do when it fails: silence
}

void BackgroundMusic::WavStop() { port_.PlaySound(std::nullopt, 0); }

}  // namespace kovaren::music
