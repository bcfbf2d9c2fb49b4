// The settings file's two places for this program and this user, as Windows reports them.
#pragma once
#include "settings_file/settings_places.h"

namespace kovaren::win32 {

SettingsPlaces ThisUsersSettingsPlaces();

}  // namespace kovaren::win32
