#include "text/cp932.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "text/ascii.h"

namespace kovaren::text {
namespace {

// Byte offsets where the characters of `text` begin.
std::vector<size_t> CharacterStarts(std::string_view text) {
  std::vector<size_t> starts;
  for (size_t pos = 0; pos < text.size(); pos += CharLength(text, pos)) starts.push_back(pos);
  return starts;
}

}  // namespace

bool IsLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

bool IsTrailByte(unsigned char byte) { return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC); }

size_t CharLength(std::string_view text, size_t pos) {
  if (pos + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[pos])) &&
      IsTrailByte(static_cast<unsigned char>(text[pos + 1]))) {
    return 2;
  }
  return 1;
}

bool EndsWithBackslash(std::string_view text) {
  size_t last = std::string_view::npos;
  for (size_t pos = 0; pos < text.size(); pos += CharLength(text, pos)) last = pos;
  return last != std::string_view::npos && last + 1 == text.size() && text[last] == '\\';
}

std::string_view CutToBytes(std::string_view text, size_t maxBytes) {
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t length = CharLength(text, pos);
    if (pos + length > maxBytes) break;
    pos += length;
  }
  return text.substr(0, pos);
}

std::string UpperLastCharacters(std::string_view text, size_t count) {
  const std::vector<size_t> starts = CharacterStarts(text);
  const size_t first = starts.size() > count ? starts[starts.size() - count] : 0;
  std::string tail(text.substr(first));
  for (size_t pos = 0; pos < tail.size(); pos += CharLength(tail, pos)) {
    // The trail byte of a double-byte character may look like a letter; it is not one.
    if (CharLength(tail, pos) == 1) tail[pos] = ToUpper(tail[pos]);
  }
  return tail;
}

std::string_view BufferText(std::span<const char> buffer) {
  const auto nul = std::find(buffer.begin(), buffer.end(), '\0');
  return {buffer.data(), static_cast<size_t>(nul - buffer.begin())};
}

void CopyIntoBuffer(std::string_view text, std::span<char> buffer) {
  if (buffer.empty()) return;
  const std::string_view fits = CutToBytes(text, buffer.size() - 1);
  std::memcpy(buffer.data(), fits.data(), fits.size());
  buffer[fits.size()] = '\0';
}

}  // namespace kovaren::text
