// The few file operations the settings file needs, behind one seam: file_io_posix.cpp for the native
// build, file_io_win32.cpp (wide functions, path converted from code page 932) for Windows. Either is
// built into the core library, so the core never reaches into the Windows shell.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace kovaren {

// The whole file; nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);
// Writes `bytes` to a temporary file beside `path`, then renames it over `path`. False on any failure,
// in which case `path` is untouched.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);
// True when `path` names a file that opens for sequential reading.
bool CanOpenForReading(const std::string& path);
// True when nothing at all stands at `path` (as opposed to a file that exists but cannot be read).
bool FileIsMissing(const std::string& path);

}  // namespace kovaren
