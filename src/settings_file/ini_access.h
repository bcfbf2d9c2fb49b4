// The settings file's key-level reads and writes, with the number rule of stored values. Internal to
// this folder: the product reads through LoadSettings and writes through SaveSettingsFile; only their
// implementation and the tests include this header.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/file_io.h"
#include "settings_file/settings.h"

namespace kovaren {

// The value of `key` in `section` of the file's `text`, as a NUL-terminated 256-byte buffer would
// hold it: cut at a NUL and to 255 bytes without splitting a double-byte character; empty when the
// section or key is missing.
std::string StoredValue(std::string_view text, std::string_view section, std::string_view key);

// The value of `key` in `section` of the file at `iniPath`, as StoredValue cuts it; empty when the
// file, section or key is missing.
std::string ReadIniString(std::string_view section, std::string_view key, const FilePath& iniPath, FileSystem& files);
// Sets one key, keeping every other byte of the file; creates file, section or key when missing.
// The file is replaced atomically. False when it could not be written (the old file stays as it was).
bool WriteIniString(std::string_view section, std::string_view key, std::string_view value,
                    const FilePath& iniPath, FileSystem& files);
// Sets every entry in order, as that many WriteIniString calls would, in one replacement of the file:
// all of them or, on failure, none.
bool WriteIniEntries(std::span<const IniEntry> entries, const FilePath& iniPath, FileSystem& files);
// `text` with every entry set in order; nothing when an entry cannot be stored or the result would be
// longer than a settings file that is read back.
std::optional<std::string> WithIniEntries(std::string_view text, std::span<const IniEntry> entries);
// True when `path` (without one trailing backslash character) opens for reading.
bool FileExists(std::string_view path, FileSystem& files);

// The greatest whole number not above the number `text` reads as; nothing when it is not a number
// or the result lies outside -32768..32767.
std::optional<int16_t> WholeNumberPart(std::string_view text);

}  // namespace kovaren
