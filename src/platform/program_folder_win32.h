// Where the program and the user's data live, as the platform reports them.
#pragma once
#include "platform/file_path.h"

namespace kovaren::win32 {

// The executable's folder; empty when the platform cannot say.
FilePath ExecutableFolder();
// The user's roaming application data folder (%APPDATA%); empty when the platform cannot say.
FilePath RoamingAppDataFolder();

}  // namespace kovaren::win32
