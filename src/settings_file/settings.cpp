#include "settings_file/settings.h"

#include <cstddef>
#include <limits>

#include "platform/file_io.h"
#include "settings_file/ini_file.h"
#include "text/cp932.h"
#include "text/decimal_number.h"

// The settings file, read and written through our own INI code on the file's bytes: the platform's
// profile functions would push the whole file through the process code page on every write.
namespace kovaren {
namespace {

// The profile reader fills a 256-byte buffer, so a value comes back as at most 255 bytes.
constexpr size_t kValueBytes = 255;

// Assigns the whole-number part of `text` to `field`; a text that is no number in range leaves the
// field as it was.
void AssignWholeNumber(int16_t& field, std::string_view text) {
  if (const auto number = WholeNumberPart(text)) field = *number;
}

}  // namespace

std::string SettingsFilePath(std::string_view exeFolder) {
  // At a drive root the platform reports "C:\"; the name's own backslash must not double it.
  if (text::EndsWithBackslash(exeFolder)) exeFolder.remove_suffix(1);
  std::string path(exeFolder);
  path.append(kIniFileName);
  return path;
}

void LoadSettings(Settings& settings, const std::string& iniPath) {
  const std::string kind = ReadIniString(kSettingsSection, kKeyBgmKind, iniPath);
  if (kind.empty()) {
    settings.bgmKind = bgm::kNone;
  } else {
    AssignWholeNumber(settings.bgmKind, kind);
  }

  const std::string repeat = ReadIniString(kSettingsSection, kKeyBgmRepeat, iniPath);
  if (repeat.empty()) {
    settings.bgmRepeat = 0;
  } else {
    AssignWholeNumber(settings.bgmRepeat, repeat);
  }

  // The file check is the only validation of the music file; audio CD (kind 1) needs no file.
  std::string file = ReadIniString(kSettingsSection, kKeyBgmFile, iniPath);
  if (file.empty() || !FileExists(file)) {
    settings.bgmFile.clear();
    if (settings.bgmKind == bgm::kFile) settings.bgmKind = bgm::kNone;
  } else {
    settings.bgmFile = std::move(file);
  }

  const std::string leaves = ReadIniString(kSettingsSection, kKeyLeafCount, iniPath);
  if (leaves.empty()) {
    settings.leafCount = kDefaultLeafCount;
  } else {
    AssignWholeNumber(settings.leafCount, leaves);
  }
}

std::string ReadIniString(std::string_view section, std::string_view key, const std::string& iniPath) {
  const auto text = ReadWholeFile(iniPath);
  if (!text) return {};
  const auto value = ini::ReadValue(*text, section, key);
  if (!value) return {};
  // The value as a NUL-terminated 256-byte buffer would hold it.
  std::string_view cut(*value);
  cut = cut.substr(0, cut.find('\0'));
  return std::string(text::CutToBytes(cut, kValueBytes));
}

bool WriteIniString(std::string_view section, std::string_view key, std::string_view value,
                    const std::string& iniPath) {
  std::string text;
  if (auto old = ReadWholeFile(iniPath)) {
    text = std::move(*old);
  } else if (!FileIsMissing(iniPath)) {
    return false;  // there but unreadable: starting from nothing would throw its contents away
  }
  const auto updated = ini::WithValue(text, section, key, value);
  if (!updated) return false;
  if (*updated == text) return true;  // nothing to change, so nothing to risk
  return ReplaceFileAtomically(iniPath, *updated);
}

bool FileExists(std::string_view path) {
  if (text::EndsWithBackslash(path)) path.remove_suffix(1);
  if (path.empty()) return false;
  return CanOpenForReading(std::string(path));
}

std::string NumberText(int32_t value) { return (value < 0 ? "" : " ") + std::to_string(value); }

// A stored number may carry blanks around it, a sign, a fraction and an exponent; its floor is taken
// exactly, in decimal, so 32767.99999999999999999 stays 32767.
std::optional<int16_t> WholeNumberPart(std::string_view text) {
  constexpr text::NumberRules kStoredNumber{.blanks = text::kSpaceAndTab, .fraction = true, .exponent = true,
                                            .fillsText = true};
  const auto number = text::ReadDecimal(text, kStoredNumber);
  if (!number) return std::nullopt;
  const auto whole = number->Floor(std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max());
  if (!whole) return std::nullopt;
  return static_cast<int16_t>(*whole);
}

}  // namespace kovaren
