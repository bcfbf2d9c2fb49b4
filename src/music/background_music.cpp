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

BackgroundMusic::BackgroundMusic(MciPort& port, const Settings& settings) : port_(port), settings_(settings) {}

void BackgroundMusic::Send(std::string_view command) { lastResult_ = port_.SendString(command, {}); }

int32_t BackgroundMusic::MciSend(std::string_view command, std::string& reply) {
  if (command.empty()) {
    reply = kReplyNoCommand;
    return kNoCommand;
  }
  const int32_t result = port_.SendString(command, mciReplyBuf_);
  lastResult_ = result;
  if (result != 0) {
    reply = port_.GetErrorString(result, mciErrorBuf_) ? std::string(text::BufferText(mciErrorBuf_))
                                                       : std::string(kReplyNoErrorText);
    return result;
  }
  reply = text::BufferText(mciReplyBuf_);
  return 0;
}

std::string BackgroundMusic::MciQuery(std::string_view command) {
  const int32_t result = MciSend(command, mciReply_);
  lastResult_ = result;
  if (result != 0) return "Error:" + std::to_string(result);
  return mciReply_;
}

int32_t BackgroundMusic::MciPlay(std::string_view device, std::string_view from, std::string_view to) {
  std::string command = "play ";
  command += device;
  if (!from.empty()) (command += " from ") += from;
  if (!to.empty()) (command += " to ") += to;
  return MciSend(command, mciReply_);
}

void BackgroundMusic::CdOpen() {
  Send("open cdaudio");
  Send("set cdaudio time format tmsf");  // positions as track:minutes:seconds:frames
}

void BackgroundMusic::CdPoll() {
  cdOk_ = true;
  const std::string track = MciQuery(kCurrentTrack);
  if (IsFailureText(track)) {
    cdOk_ = false;
    return;
  }
  // The count only proves that the disc answers.
  if (IsFailureText(MciQuery(kNumberOfTracks))) {
    cdOk_ = false;
    return;
  }
  lastResult_ = port_.SendString(kCdMode, cdModeBuf_);
  const bool stopped = ModeIs(cdModeBuf_, "stopped");

  const int16_t repeat = settings_.bgmRepeat;
  if (repeat == 0) {
    if (stopped) MciPlay(kCd, {}, {});  // play on from where the disc is
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
    const std::string start = MciQuery(std::string(kTrackPosition) + std::to_string(repeat));
    MciPlay(kCd, start, {});
  }
}

void BackgroundMusic::ChangeTrack(int delta) {
  const int track = LeadingTrackNumber(MciQuery(kCurrentTrack));
  // No wrap-around: a track before the first or after the last has no position, and the play
  // command built from the error text is rejected, so play goes on unchanged.
  const std::string start = MciQuery(std::string(kTrackPosition) + std::to_string(track + delta));
  MciPlay(kCd, start, {});
}

void BackgroundMusic::CdNextTrack() { ChangeTrack(+1); }
void BackgroundMusic::CdPrevTrack() { ChangeTrack(-1); }

void BackgroundMusic::CdClose() {
  Send("stop cdaudio");
  Send("close cdaudio");
}

void BackgroundMusic::Mp3Start() {
  const std::string& path = settings_.bgmFile;
  if (!FitsBetweenQuotes(path)) return;  // treated as a file that does not open
  Send("open \"" + path + "\" type MPEGVideo Alias MP3Play");
  if (lastResult_ == 0) Send("play MP3Play");
}

bool BackgroundMusic::Mp3IsPlaying() {
  lastResult_ = port_.SendString(kMp3Mode, mp3ModeBuf_);
  return ModeIs(mp3ModeBuf_, "playing");
}

void BackgroundMusic::Mp3Poll() {
  if (Mp3IsPlaying()) return;
  // Over and over: once the file has ended (or never opened), start it again from the beginning.
  Send("stop MP3Play");
  Send("play MP3Play from 0");
}

void BackgroundMusic::Mp3Close() {
  Send("stop MP3Play");
  Send("close MP3Play");
}

void BackgroundMusic::WavStart() {
  if (port_.WaveOutDeviceCount() == 0) return;  // no wave output device: nothing plays
  lastResult_ = port_.PlaySound(settings_.bgmFile, kLoopAsync);
}

void BackgroundMusic::WavStop() { lastResult_ = port_.PlaySound(std::nullopt, 0); }

}  // namespace kovaren::music
