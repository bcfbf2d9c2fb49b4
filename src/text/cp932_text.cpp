#include "text/cp932_text.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "settings_file/ini_file.h"

namespace kovaren::music {
namespace {

// Byte offsets where the characters of `text` begin. A lead byte at the very end stands alone.
std::vector<size_t> CharacterStarts(std::string_view text) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < text.size();) {
    starts.push_back(i);
    i += (ini::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
  }
  return starts;
}

}  // namespace

std::string UpperLastCharacters(std::string_view text, size_t count) {
  const std::vector<size_t> starts = CharacterStarts(text);
  const size_t first = starts.size() > count ? starts[starts.size() - count] : 0;
  std::string tail(text.substr(first));
  for (size_t i = 0; i < tail.size(); ++i) {
    const auto byte = static_cast<unsigned char>(tail[i]);
    if (ini::IsLeadByte(byte) && i + 1 < tail.size()) {
      ++i;  // the trail byte may look like a letter; it is not one
    } else if (byte >= 'a' && byte <= 'z') {
      tail[i] = static_cast<char>(byte - 'a' + 'A');
    }
  }
  return tail;
}

std::string_view BufferText(std::span<const char> buffer) {
  const auto nul = std::find(buffer.begin(), buffer.end(), '\0');
  return {buffer.data(), static_cast<size_t>(nul - buffer.begin())};
}

void CopyIntoBuffer(std::string_view text, std::span<char> buffer) {
  if (buffer.empty()) return;
  const size_t room = buffer.size() - 1;
  size_t length = 0;
  for (const size_t start : CharacterStarts(text)) {
    const size_t end = (start + 1 < text.size() && ini::IsLeadByte(static_cast<unsigned char>(text[start])))
                           ? start + 2
                           : start + 1;
    if (end > room) break;
    length = end;
  }
  std::memcpy(buffer.data(), text.data(), length);
  buffer[length] = '\0';
}

}  // namespace kovaren::music
