#include "settings_file/ini_access.h"

#include <cstddef>

#include "settings_file/ini_file.h"
#include "text/cp932.h"

// The settings file, read and written through our own INI code on the file's bytes: the platform's
// profile functions would push the whole file through the process code page on every write.
namespace kovaren {
namespace {

// The profile reader fills a 256-byte buffer, so a value comes back as at most 255 bytes.
constexpr size_t kValueBytes = 255;

}  // namespace

std::string StoredValue(std::string_view text, std::string_view section, std::string_view key) {
  const auto value = ini::ReadValue(text, section, key);
  if (!value) return {};
  std::string_view cut(*value);
  cut = cut.substr(0, cut.find('\0'));
  return std::string(text::CutToBytes(cut, kValueBytes));
}

std::string ReadIniString(std::string_view section, std::string_view key, const FilePath& iniPath,
                          FileSystem& files) {
  const auto text = files.ReadWholeFile(iniPath, kMaxSettingsFileBytes);
  return text ? StoredValue(*text, section, key) : std::string{};
}

bool WriteIniString(std::string_view section, std::string_view key, std::string_view value,
                    const FilePath& iniPath, FileSystem& files) {
  const IniEntry entry{section, key, std::string(value)};
  return WriteIniEntries({&entry, 1}, iniPath, files);
}

bool WriteIniEntries(std::span<const IniEntry> entries, const FilePath& iniPath, FileSystem& files) {
  if (iniPath.empty()) return false;
  std::string text;
  if (auto old = files.ReadWholeFile(iniPath, kMaxSettingsFileBytes)) {
    text = std::move(*old);
  } else if (!files.IsMissing(iniPath)) {
    return false;  // there but unreadable: starting from nothing would throw its contents away
  }
  const auto updated = WithIniEntries(text, entries);
  if (!updated) return false;
  if (*updated == text) return true;  // nothing to change, so nothing to risk
  return ReplaceFileAtomically(files, iniPath, *updated);
}

std::optional<std::string> WithIniEntries(std::string_view text, std::span<const IniEntry> entries) {
  std::string result(text);
  for (const IniEntry& entry : entries) {
    auto updated = ini::WithValue(result, entry.section, entry.key, entry.value);
    if (!updated) return std::nullopt;
    result = std::move(*updated);
  }
  // Never write what the next start would refuse to read.
  if (result.size() > kMaxSettingsFileBytes) return std::nullopt;
  return result;
}

bool FileExists(std::string_view path, FileSystem& files) {
  if (text::EndsWithBackslash(path)) path.remove_suffix(1);
  if (path.empty()) return false;
  return files.CanOpenForReading(std::string(path));
}

}  // namespace kovaren
