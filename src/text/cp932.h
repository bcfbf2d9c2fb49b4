// Folder src/text owns the reading of text: this code page 932 walker, the ASCII character rules
// (ascii.h) and the one decimal-number reader (decimal_number.h) that every caller configures.
//
// Code page 932 (Shift_JIS) text, the program's own text form: the settings file's bytes, the music
// module's replies, the paths it hands on. One walker steps through it character by character (one or
// two bytes), so that no rule ever mistakes a trail byte for a backslash, a bracket or a letter.
#pragma once
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace kovaren::text {

// True for the first byte of a double-byte character.
bool IsLeadByte(unsigned char byte);
// True for a byte that may follow a lead byte. Control characters, CR and LF among them, never do.
bool IsTrailByte(unsigned char byte);
// The byte length (1 or 2) of the character starting at `pos`. A lead byte counts as a double-byte
// character only when a valid trail byte follows, so a broken pair never swallows a line break.
size_t CharLength(std::string_view text, size_t pos);

// True when the last character of `text` is the backslash character (not the 0x5C trail byte of a
// double-byte character such as "ソ").
bool EndsWithBackslash(std::string_view text);
// The longest prefix of `text` of at most `maxBytes` bytes that does not split a character.
std::string_view CutToBytes(std::string_view text, size_t maxBytes);

// The last `count` characters of `text`, ASCII letters upper-cased. A double-byte character counts
// as one, so its trail byte is never mistaken for a letter.
std::string UpperLastCharacters(std::string_view text, size_t count);

// The buffer's text: everything before its first NUL (all of it when there is none).
std::string_view BufferText(std::span<const char> buffer);
// Writes `text` and a NUL into `buffer`, cut to fit without splitting a double-byte character.
// Bytes after the NUL are left as they were. Nothing happens for an empty buffer.
void CopyIntoBuffer(std::string_view text, std::span<char> buffer);

}  // namespace kovaren::text
