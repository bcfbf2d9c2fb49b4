// Where the program lives: the settings file is kept beside the executable.
#pragma once
#include <string>

namespace kovaren::win32 {

// The executable's folder in code page 932 (the settings file's encoding), without a trailing
// separator; empty when the platform cannot say.
std::string ExecutableFolder();

}  // namespace kovaren::win32
