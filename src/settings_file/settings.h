// Folder src/settings_file owns the settings record and the file "Kovaren.ini": its keys, defaults and
// validation, and loading (this file); where the file lives and the one save (settings_places.h).
// Underneath, internal to the folder: key-level access (ini_access.h) over our own INI reader and
// writer (ini_file.h).
//
// Values, the music file's path included, are code page 932 bytes, as stored in the file.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_io.h"
#include "settings_file/leaf_count.h"

namespace kovaren {

struct Settings {
  int16_t leafCount = 0;  // the saver keeps leafCount + 1 leaves
  int16_t bgmKind = 0;    // 0 none, 1 audio CD, 2 MP3 or WAV file
  int16_t bgmRepeat = 0;  // CD track to repeat, 0 = none
  std::string bgmFile;    // full path of the music file (code page 932), empty when none
};

namespace bgm {
constexpr int16_t kNone = 0;
constexpr int16_t kAudioCd = 1;
constexpr int16_t kFile = 2;
constexpr int kKindCount = 3;
}  // namespace bgm

// Section and key names, as code page 932 bytes.
inline constexpr std::string_view kSettingsSection = "Section";
inline constexpr std::string_view kKeyBgmKind = "BGM\x8B\xE6\x95\xAA";              // BGM区分
inline constexpr std::string_view kKeyBgmRepeat = "BGM\xD8\xCB\xDF\xB0\xC4";        // BGMﾘﾋﾟｰﾄ
inline constexpr std::string_view kKeyBgmFile = "BGM\xCC\xA7\xB2\xD9";              // BGMﾌｧｲﾙ
inline constexpr std::string_view kKeyLeafCount = "\x82\xE0\x82\xDD\x82\xB6";       // もみじ
inline constexpr std::string_view kIniFileName = "Kovaren.ini";
inline constexpr int16_t kDefaultLeafCount = kLeafCounts.byDefault;

// One value to store: `key` in `section` set to `value`.
struct IniEntry {
  std::string_view section;
  std::string_view key;
  std::string value;
};

// Fills `settings` from the file at `iniPath`, read once; every default and fallback of the settings
// file applies.
void LoadSettings(Settings& settings, const FilePath& iniPath, FileSystem& files);

// " 100", " 0", "-5": a sign position (blank or minus), then the shortest decimal digits.
std::string NumberText(int32_t value);

}  // namespace kovaren
