#include "settings_file/settings_places.h"

#include "settings_file/ini_access.h"
#include "settings_file/ini_file.h"

namespace kovaren {
namespace {

constexpr std::string_view kPerUserFolderName = "Kovaren";

bool CanStoreAll(std::span<const IniEntry> entries) {
  for (const IniEntry& entry : entries) {
    if (!ini::CanStore(entry.section, entry.key, entry.value)) return false;
  }
  return true;
}

}  // namespace

SettingsPlaces PlacesFor(const FilePath& programFolder, const FilePath& appDataFolder) {
  SettingsPlaces places;
  // An unknown folder must not turn into a relative path, which would name a file in whatever
  // folder the program happened to be started from.
  if (!programFolder.empty()) places.besideProgram = programFolder / kIniFileName;
  if (!appDataFolder.empty()) places.perUser = appDataFolder / kPerUserFolderName / kIniFileName;
  return places;
}

FilePath SettingsFileInUse(const SettingsPlaces& places, FileSystem& files) {
  // Anything at the per-user path counts, even a file that cannot be read now: settings once moved
  // there must not silently fall back to older ones beside the program.
  if (!places.perUser.empty() && !files.IsMissing(places.perUser)) return places.perUser;
  return places.besideProgram;
}

SaveOutcome SaveSettingsFile(std::span<const IniEntry> entries, const SettingsPlaces& places, FileSystem& files) {
  const FilePath inUse = SettingsFileInUse(places, files);
  // Entries no file could hold fail the same everywhere: no reason to move the settings.
  if (!CanStoreAll(entries)) return {false, inUse.empty() ? places.perUser : inUse};
  if (!inUse.empty() && WriteIniEntries(entries, inUse, files)) return {true, inUse};
  if (inUse != places.besideProgram || places.perUser.empty()) return {false, inUse};

  // The program's folder refused the file. Start the per-user file from the file beside the program
  // so that nothing of it is lost; an unreadable one gives nothing to keep.
  const std::string base = files.ReadWholeFile(places.besideProgram, kMaxSettingsFileBytes).value_or(std::string{});
  const std::optional<std::string> text = WithIniEntries(base, entries);
  if (!text || !files.CreateFolders(places.perUser.Folder()) ||
      !ReplaceFileAtomically(files, places.perUser, *text)) {
    return {false, places.perUser};
  }
  return {true, places.perUser};
}

}  // namespace kovaren
