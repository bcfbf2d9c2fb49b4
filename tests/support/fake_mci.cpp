#include "support/fake_mci.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <sstream>

namespace kovaren::fake {
namespace {

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return text;
}

std::optional<int> Number(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

}  // namespace

void FakeMci::InsertDisc(int tracks, int trackLengthMs) {
  trackLengthsMs_.assign(static_cast<size_t>(tracks), trackLengthMs);
  cdTrack = tracks > 0 ? 1 : 0;
  cdOffsetMs = 0;
  cdPlaying = false;
}

void FakeMci::AddPlayableFile(const std::string& path, int lengthMs) { playableFiles_[path] = lengthMs; }

void FakeMci::Script(const std::string& command, int32_t code, std::string reply) {
  scripted_[command] = Answer{code, std::move(reply)};
}

void FakeMci::Advance(int ms) {
  if (cdPlaying) {
    cdOffsetMs += ms;
    while (cdPlaying && cdOffsetMs >= trackLengthsMs_[static_cast<size_t>(cdTrack - 1)]) {
      cdOffsetMs -= trackLengthsMs_[static_cast<size_t>(cdTrack - 1)];
      if (++cdTrack > cdTracks()) {  // the disc has ended: back to the start, stopped
        cdTrack = 1;
        cdOffsetMs = 0;
        cdPlaying = false;
      }
    }
  }
  if (filePlaying) {
    fileOffsetMs += ms;
    const int length = playableFiles_.at(openFile);
    if (fileOffsetMs >= length) {
      fileOffsetMs = length;
      filePlaying = false;
    }
  }
}

std::vector<std::string> FakeMci::Commands() const {
  std::vector<std::string> commands;
  for (const Sent& s : sent) commands.push_back(s.command);
  return commands;
}

int32_t FakeMci::SendString(std::string_view command, std::span<char> reply) {
  const std::string text(command);
  const auto scripted = scripted_.find(text);
  const Answer answer = scripted != scripted_.end() ? scripted->second : Handle(text);
  sent.push_back({text, reply.size(), answer.code});
  // Like winmm, a failed command leaves the reply buffer alone; a success writes its text and a NUL.
  if (answer.code == 0 && !reply.empty()) {
    const size_t n = std::min(answer.reply.size(), reply.size() - 1);
    std::memcpy(reply.data(), answer.reply.data(), n);
    reply[n] = '\0';
  }
  return answer.code;
}

bool FakeMci::GetErrorString(int32_t code, std::span<char> buffer) {
  if (!errorTextsAvailable || buffer.empty()) return false;
  const std::string text = "MCI error " + std::to_string(code);
  const size_t n = std::min(text.size(), buffer.size() - 1);
  std::memcpy(buffer.data(), text.data(), n);
  buffer[n] = '\0';
  return true;
}

int32_t FakeMci::PlaySound(std::optional<std::string_view> name, uint32_t flags) {
  sounds.push_back({name ? std::optional<std::string>(std::string(*name)) : std::nullopt, flags});
  return 1;
}

FakeMci::Answer FakeMci::Handle(const std::string& command) {
  const std::vector<std::string> words = Words(command);
  if (words.size() < 2) return {kUnrecognizedCommand, {}};
  if (Lower(words[1]) == "cdaudio") return HandleCd(words);
  return HandleFile(command, words);
}

FakeMci::Answer FakeMci::HandleCd(const std::vector<std::string>& words) {
  if (!cdDrivePresent) return {kNoDriver, {}};
  const std::string verb = Lower(words[0]);
  const auto rest = [&](size_t from) {
    std::string joined;
    for (size_t i = from; i < words.size(); ++i) joined += (joined.empty() ? "" : " ") + Lower(words[i]);
    return joined;
  };
  if (verb == "open") {
    if (words.size() != 2) return {kUnrecognizedCommand, {}};
    cdOpen = true;
    return {};
  }
  if (!cdOpen) return {kUnknownDevice, {}};
  if (verb == "close" && words.size() == 2) {
    cdOpen = false;
    cdPlaying = false;
    return {};
  }
  if (verb == "set" && rest(2) == "time format tmsf") return {};
  if (verb == "status" && rest(2) == "mode") {
    if (cdTracks() == 0) return {0, "not ready"};
    return {0, cdPlaying ? "playing" : "stopped"};
  }
  const bool disc = cdTracks() > 0;
  if (verb == "status" && rest(2) == "current track") {
    return disc ? Answer{0, std::to_string(cdTrack)} : Answer{kNotReady, {}};
  }
  if (verb == "status" && rest(2) == "number of tracks") {
    return disc ? Answer{0, std::to_string(cdTracks())} : Answer{kNotReady, {}};
  }
  if (verb == "status" && words.size() == 5 && rest(2).starts_with("position track ")) {
    if (!disc) return {kNotReady, {}};
    const std::optional<int> track = Number(words[4]);
    if (!track) return {kBadTimeFormat, {}};
    if (*track < 1 || *track > cdTracks()) return {kOutOfRange, {}};
    return {0, TwoDigits(*track) + ":00:00:00"};
  }
  if (verb == "play") {
    if (!disc) return {kNotReady, {}};
    if (words.size() == 2) {
      cdPlaying = true;
      return {};
    }
    if (words.size() == 4 && Lower(words[2]) == "from") return CdPlayFrom(words[3]);
    return {kUnrecognizedCommand, {}};
  }
  if (verb == "stop" && words.size() == 2) {
    cdPlaying = false;
    return {};
  }
  return {kUnrecognizedCommand, {}};
}

// A tmsf position: track[:minutes[:seconds[:frames]]], 75 frames to the second.
FakeMci::Answer FakeMci::CdPlayFrom(const std::string& position) {
  std::vector<int> fields;
  std::string field;
  std::istringstream in(position);
  while (std::getline(in, field, ':')) {
    const std::optional<int> n = Number(field);
    if (!n || *n < 0) return {kBadTimeFormat, {}};
    fields.push_back(*n);
  }
  if (fields.empty() || fields.size() > 4) return {kBadTimeFormat, {}};
  fields.resize(4, 0);
  if (fields[0] < 1 || fields[0] > cdTracks()) return {kOutOfRange, {}};
  cdTrack = fields[0];
  cdOffsetMs = fields[1] * 60'000 + fields[2] * 1000 + fields[3] * 1000 / 75;
  cdPlaying = true;
  return {};
}

FakeMci::Answer FakeMci::HandleFile(const std::string& command, const std::vector<std::string>& words) {
  const std::string verb = Lower(words[0]);
  if (verb == "open") {
    // open "PATH" type MPEGVideo Alias NAME
    if (command.size() < 6 || command.compare(0, 6, "open \"") != 0) return {kUnrecognizedCommand, {}};
    const size_t close = command.find('"', 6);
    if (close == std::string::npos) return {kUnrecognizedCommand, {}};
    const std::string path = command.substr(6, close - 6);
    const std::vector<std::string> tail = Words(command.substr(close + 1));
    if (tail.size() != 4 || Lower(tail[0]) != "type" || Lower(tail[1]) != "mpegvideo" ||
        Lower(tail[2]) != "alias") {
      return {kUnrecognizedCommand, {}};
    }
    if (!playableFiles_.contains(path)) return {kFileNotFound, {}};
    openAlias = Lower(tail[3]);
    openFile = path;
    fileOffsetMs = 0;
    filePlaying = false;
    return {};
  }
  if (!openAlias || Lower(words[1]) != *openAlias) return {kUnknownDevice, {}};  // names without case
  if (verb == "play" && words.size() == 2) {
    filePlaying = fileOffsetMs < playableFiles_.at(openFile);
    return {};
  }
  if (verb == "play" && words.size() == 4 && Lower(words[2]) == "from") {
    const std::optional<int> from = Number(words[3]);
    if (!from) return {kBadTimeFormat, {}};
    fileOffsetMs = *from;
    filePlaying = fileOffsetMs < playableFiles_.at(openFile);
    return {};
  }
  if (verb == "stop" && words.size() == 2) {
    filePlaying = false;
    return {};
  }
  if (verb == "status" && words.size() == 3 && Lower(words[2]) == "mode") {
    return {0, filePlaying ? "playing" : "stopped"};
  }
  if (verb == "close" && words.size() == 2) {
    openAlias.reset();
    filePlaying = false;
    return {};
  }
  return {kUnrecognizedCommand, {}};
}

}  // namespace kovaren::fake
