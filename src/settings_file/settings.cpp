#include "settings_file/settings.h"

#include <limits>
#include <optional>
#include <string>

#include "platform/file_io.h"
#include "settings_file/ini_access.h"
#include "text/decimal_number.h"

namespace kovaren {
namespace {

// Assigns the whole-number part of `text` to `field`; a text that is no number in range leaves the
// field as it was.
void AssignWholeNumber(int16_t& field, std::string_view text) {
  if (const auto number = WholeNumberPart(text)) field = *number;
}

}  // namespace

void LoadSettings(Settings& settings, const FilePath& iniPath, FileSystem& files) {
  const std::string text = files.ReadWholeFile(iniPath, kMaxSettingsFileBytes).value_or(std::string{});

  const std::string kind = StoredValue(text, kSettingsSection, kKeyBgmKind);
  if (kind.empty()) {
    settings.bgmKind = bgm::kNone;
  } else {
    AssignWholeNumber(settings.bgmKind, kind);
  }

  const std::string repeat = StoredValue(text, kSettingsSection, kKeyBgmRepeat);
  if (repeat.empty()) {
    settings.bgmRepeat = 0;
  } else {
    AssignWholeNumber(settings.bgmRepeat, repeat);
  }

  // The file check is the only validation of the music file; audio CD (kind 1) needs no file.
  std::string file = StoredValue(text, kSettingsSection, kKeyBgmFile);
  if (file.empty() || !FileExists(file, files)) {
    settings.bgmFile.clear();
    if (settings.bgmKind == bgm::kFile) settings.bgmKind = bgm::kNone;
  } else {
    settings.bgmFile = std::move(file);
  }

  const std::string leaves = StoredValue(text, kSettingsSection, kKeyLeafCount);
  if (leaves.empty()) {
    settings.leafCount = kDefaultLeafCount;
  } else {
    AssignWholeNumber(settings.leafCount, leaves);
  }
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
