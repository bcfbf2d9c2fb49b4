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

// The value of `key` in `section` of the file's text, as a NUL-terminated 256-byte buffer would
// hold it: cut at a NUL and to 255 bytes without splitting a character.
std::string ValueIn(std::string_view text, std::string_view section, std::string_view key) {
  const auto value = ini::ReadValue(text, section, key);
  if (!value) return {};
  std::string_view cut(*value);
  cut = cut.substr(0, cut.find('\0'));
  return std::string(text::CutToBytes(cut, kValueBytes));
}

// Assigns the whole-number part of `text` to `field`; a text that is no number in range leaves the
// field as it was.
void AssignWholeNumber(int16_t& field, std::string_view text) {
  if (const auto number = WholeNumberPart(text)) field = *number;
}

}  // namespace

void LoadSettings(Settings& settings, const FilePath& iniPath, FileSystem& files) {
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

std::string ReadIniString(std::string_view section, std::string_view key, const FilePath& iniPath,
                          FileSystem& files) {
  const auto text = files.ReadWholeFile(iniPath, kMaxSettingsFileBytes);
  return text ? ValueIn(*text, section, key) : std::string{};
}

bool WriteIniString(std::string_view section, std::string_view key, std::string_view value,
                    const FilePath& iniPath, FileSystem& files) {
  const IniEntry entry{section, key, std::string(value)};
  return WriteIniEntries({&entry, 1}, iniPath, files);
}

bool WriteIniEntries(std::span<const IniEntry> entries, const FilePath& iniPath, FileSystem& files) {
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
  if (text::EndsWithBackslash(path)) path.remove_suffix(1);
  if (path.empty()) return false;
  return files.CanOpenForReading(std::string(path));
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
