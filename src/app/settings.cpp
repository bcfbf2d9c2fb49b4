#include "app/settings.h"

// Not built yet: placeholders until the settings file reader and writer land.
namespace kovaren {
std::string SettingsFilePath(std::string_view exeFolder) { return std::string(exeFolder) + std::string(kIniFileName); }
void LoadSettings(Settings& settings, const std::string&) { settings.leafCount = kDefaultLeafCount; }
std::string ReadIniString(std::string_view, std::string_view, const std::string&) { return {}; }
bool WriteIniString(std::string_view, std::string_view, std::string_view, const std::string&) { return false; }
bool FileExists(std::string_view) { return false; }
std::string NumberText(int32_t value) { return (value < 0 ? "" : " ") + std::to_string(value); }
std::optional<int16_t> WholeNumberPart(std::string_view) { return std::nullopt; }
}  // namespace kovaren
