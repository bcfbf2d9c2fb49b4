#include "settings_file/settings_places_win32.h"

#include "platform/program_folder_win32.h"

namespace kovaren::win32 {

SettingsPlaces ThisUsersSettingsPlaces() { return PlacesFor(ExecutableFolder(), RoamingAppDataFolder()); }

}  // namespace kovaren::win32
