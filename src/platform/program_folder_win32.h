// Where the program and the user's data live, as the platform reports them.
#pragma once
#include <filesystem>

namespace kovaren::win32 {

// The executable's folder; empty when the platform cannot say.
std::filesystem::path ExecutableFolder();
// The user's roaming application data folder (%APPDATA%); empty when the platform cannot say.
std::filesystem::path RoamingAppDataFolder();

}  // namespace kovaren::win32
