// Our own reader and writer of INI text, working on the file's bytes (code page 932) without ever
// converting them. It follows the reading rules of the Windows profile functions; writing changes only
// the bytes of the one value it sets, so comments, odd lines and line endings survive a save.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kovaren::ini {

// Names compare character by character, ASCII letters without regard to case.
bool NamesEqual(std::string_view a, std::string_view b);

// The value of `key` in the first section named `section`, quotes removed; nothing when the section
// or key is missing. A key line without "=" reads as an empty value.
std::optional<std::string> ReadValue(std::string_view text, std::string_view section, std::string_view key);

// True when the name and value can be stored so that reading them back gives the same thing: no line
// breaks anywhere, non-blank names, no "=" in the key, a key that cannot be taken for a section header.
bool CanStore(std::string_view section, std::string_view key, std::string_view value);

// `text` with `key` in `section` set to `value`. Only the old value's bytes change (and the blanks
// beside it on a side where `value` brings blanks of its own, so a repeated save is a no-op); a missing key is
// added after the last line of its section, a missing section at the end; added lines end in CR LF.
// Nothing when CanStore is false.
std::optional<std::string> WithValue(std::string_view text, std::string_view section, std::string_view key,
                                     std::string_view value);

}  // namespace kovaren::ini
