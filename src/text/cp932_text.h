// Code page 932 text as the music module handles it: whole characters (one or two bytes), and
// NUL-terminated reply buffers of a fixed capacity.
#pragma once
#include <span>
#include <string>
#include <string_view>

namespace kovaren::music {

// The last `count` characters of `text`, ASCII letters upper-cased. A double-byte character counts
// as one, so its trail byte is never mistaken for a letter.
std::string UpperLastCharacters(std::string_view text, size_t count);

// The buffer's text: everything before its first NUL (all of it when there is none).
std::string_view BufferText(std::span<const char> buffer);

// Writes `text` and a NUL into `buffer`, cut to fit without splitting a double-byte character.
// Bytes after the NUL are left as they were. Nothing happens for an empty buffer.
void CopyIntoBuffer(std::string_view text, std::span<char> buffer);

}  // namespace kovaren::music
