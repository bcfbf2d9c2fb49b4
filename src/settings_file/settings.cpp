#include "settings_file/settings.h"

#include <algorithm>
#include <cstddef>

#include "platform/file_io.h"
#include "settings_file/ini_file.h"

// The settings file, read and written through our own INI code on the file's bytes: the platform's
// profile functions would push the whole file through the process code page on every write.
namespace kovaren {
namespace {

// The profile reader fills a 256-byte buffer, so a value comes back as at most 255 bytes.
constexpr size_t kValueBytes = 255;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNumberBlank(char c) { return c == ' ' || c == '\t'; }

// The value of `key` in `section` of the file's text, as a NUL-terminated 256-byte buffer would
// hold it: cut at a NUL and to 255 bytes without splitting a character.
std::string ValueIn(std::string_view text, std::string_view section, std::string_view key) {
  const auto value = ini::ReadValue(text, section, key);
  if (!value) return {};
  std::string_view cut(*value);
  cut = cut.substr(0, cut.find('\0'));
  return std::string(ini::CutToBytes(cut, kValueBytes));
}

// Assigns the whole-number part of `text` to `field`; a text that is no number in range leaves the
// field as it was.
void AssignWholeNumber(int16_t& field, std::string_view text) {
  if (const auto number = WholeNumberPart(text)) field = *number;
}

}  // namespace

void LoadSettings(Settings& settings, const std::filesystem::path& iniPath, FileSystem& files) {
  const std::string text = files.ReadWholeFile(iniPath, kMaxSettingsFileBytes).value_or(std::string{});

  const std::string kind = ValueIn(text, kSettingsSection, kKeyBgmKind);
  if (kind.empty()) {
    settings.bgmKind = bgm::kNone;
  } else {
    AssignWholeNumber(settings.bgmKind, kind);
  }

  const std::string repeat = ValueIn(text, kSettingsSection, kKeyBgmRepeat);
  if (repeat.empty()) {
    settings.bgmRepeat = 0;
  } else {
    AssignWholeNumber(settings.bgmRepeat, repeat);
  }

  // The file check is the only validation of the music file; audio CD (kind 1) needs no file.
  std::string file = ValueIn(text, kSettingsSection, kKeyBgmFile);
  if (file.empty() || !FileExists(file, files)) {
    settings.bgmFile.clear();
    if (settings.bgmKind == bgm::kFile) settings.bgmKind = bgm::kNone;
  } else {
    settings.bgmFile = std::move(file);
  }

  const std::string leaves = ValueIn(text, kSettingsSection, kKeyLeafCount);
  if (leaves.empty()) {
    settings.leafCount = kDefaultLeafCount;
  } else {
    AssignWholeNumber(settings.leafCount, leaves);
  }
}

std::string ReadIniString(std::string_view section, std::string_view key, const std::filesystem::path& iniPath,
                          FileSystem& files) {
  const auto text = files.ReadWholeFile(iniPath, kMaxSettingsFileBytes);
  return text ? ValueIn(*text, section, key) : std::string{};
}

bool WriteIniString(std::string_view section, std::string_view key, std::string_view value,
                    const std::filesystem::path& iniPath, FileSystem& files) {
  const IniEntry entry{section, key, std::string(value)};
  return WriteIniEntries({&entry, 1}, iniPath, files);
}

bool WriteIniEntries(std::span<const IniEntry> entries, const std::filesystem::path& iniPath, FileSystem& files) {
  if (iniPath.empty()) return false;
  std::string text;
  if (auto old = files.ReadWholeFile(iniPath, kMaxSettingsFileBytes)) {
    text = std::move(*old);
  } else if (!files.IsMissing(iniPath)) {
    return false;  // there but unreadable: starting from nothing would throw its contents away
  }
  const auto updated = WithIniEntries(text, entries);
  if (!updated) return false;
  if (*updated == text) return true;  // nothing to change, so nothing to risk
  return ReplaceFileAtomically(files, iniPath, *updated);
}

std::optional<std::string> WithIniEntries(std::string_view text, std::span<const IniEntry> entries) {
  std::string result(text);
  for (const IniEntry& entry : entries) {
    auto updated = ini::WithValue(result, entry.section, entry.key, entry.value);
    if (!updated) return std::nullopt;
    result = std::move(*updated);
  }
  // Never write what the next start would refuse to read.
  if (result.size() > kMaxSettingsFileBytes) return std::nullopt;
  return result;
}

bool FileExists(std::string_view path, FileSystem& files) {
  if (ini::EndsWithBackslash(path)) path.remove_suffix(1);
  if (path.empty()) return false;
  return files.CanOpenForReading(std::string(path));
}

std::string NumberText(int32_t value) { return (value < 0 ? "" : " ") + std::to_string(value); }

// Reads [blanks][sign]digits[.digits][(e|E)[sign]digits][blanks] exactly, in decimal, so that no
// binary rounding can move a value across a whole number (32767.99999999999999999 stays 32767).
std::optional<int16_t> WholeNumberPart(std::string_view text) {
  size_t pos = 0;
  const auto skipBlanks = [&] {
    while (pos < text.size() && IsNumberBlank(text[pos])) ++pos;
  };
  skipBlanks();
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';

  std::string digits;    // mantissa digits without the point, leading zeros dropped
  long long pointAt = 0;  // how many of `digits` stand before the decimal point
  bool anyDigit = false;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
    anyDigit = true;
    if (digits.empty() && text[pos] == '0') continue;
    digits.push_back(text[pos]);
    ++pointAt;
  }
  if (pos < text.size() && text[pos] == '.') {
    for (++pos; pos < text.size() && IsDigit(text[pos]); ++pos) {
      anyDigit = true;
      if (digits.empty() && text[pos] == '0') {
        --pointAt;
        continue;
      }
      digits.push_back(text[pos]);
    }
  }
  if (!anyDigit) return std::nullopt;

  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    bool expNegative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) expNegative = text[pos++] == '-';
    if (pos >= text.size() || !IsDigit(text[pos])) return std::nullopt;
    long long exponent = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
      exponent = std::min(exponent * 10 + (text[pos] - '0'), 1'000'000'000LL);  // far beyond any range
    }
    pointAt += expNegative ? -exponent : exponent;
  }
  skipBlanks();
  if (pos != text.size()) return std::nullopt;

  if (digits.empty()) return int16_t{0};  // all zeros, whatever the exponent
  // digits[0..pointAt) is the whole part, the rest the fraction; digits[0] is not zero.
  if (pointAt > 5) return std::nullopt;  // at least 100000
  long whole = 0;
  for (long long i = 0; i < pointAt; ++i) {
    whole = whole * 10 + (i < static_cast<long long>(digits.size()) ? digits[static_cast<size_t>(i)] - '0' : 0);
  }
  const size_t fractionFrom = static_cast<size_t>(std::clamp<long long>(pointAt, 0, static_cast<long long>(digits.size())));
  const bool hasFraction = digits.find_first_not_of('0', fractionFrom) != std::string::npos;
  const long value = negative ? -whole - (hasFraction ? 1 : 0) : whole;  // the floor
  if (value < -32768 || value > 32767) return std::nullopt;
  return static_cast<int16_t>(value);
}

}  // namespace kovaren
