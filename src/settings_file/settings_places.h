// Where the settings file lives, and the one save that writes it. The file stays beside the program
// as it always has; when the program's folder cannot be written (a system folder, for a standard
// user), the settings move to a per-user file, which from then on is the one read and written.
#pragma once
#include <span>

#include "platform/file_io.h"
#include "settings_file/settings.h"

namespace kovaren {

struct SettingsPlaces {
  FilePath besideProgram;  // Kovaren.ini in the program's folder; empty when unknown
  FilePath perUser;        // Kovaren\Kovaren.ini in the user's application data; empty when unknown
};

// The two places for a program in `programFolder` and a user whose roaming application data is
// `appDataFolder` (either may be empty when the platform cannot say).
SettingsPlaces PlacesFor(const FilePath& programFolder, const FilePath& appDataFolder);

// The settings file every mode reads and the dialog writes: the per-user file when anything stands
// at its path, else the file beside the program.
FilePath SettingsFileInUse(const SettingsPlaces& places, FileSystem& files);

struct SaveOutcome {
  bool saved = false;
  FilePath file;  // where the settings went, or the file that could not be written
};

// Sets every entry, in order, in the settings file in use, in one replacement. When that file is the
// one beside the program and cannot be written, the per-user file (and its folder) is made instead,
// from the file beside the program (foreign lines included) with the entries set. On failure no file
// has changed.
SaveOutcome SaveSettingsFile(std::span<const IniEntry> entries, const SettingsPlaces& places, FileSystem& files);

}  // namespace kovaren
