#include "app/command_line.h"

#include <limits>

// The command line as Windows builds it for a screen saver: the program's path, quoted when it holds
// blanks ("C:\Program Files\Kovaren.scr" /p 1234) or bare (C:\WINDOWS\KOVAREN.SCR /s), then one blank
// and the arguments.
namespace kovaren {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The host handle's digits start at the fourth character, after the switch and its separator.
constexpr size_t kHandleFrom = 3;

}  // namespace

std::u16string CommandText(std::u16string_view fullCommandLine) {
  size_t pos = 0;
  if (!fullCommandLine.empty() && fullCommandLine.front() == u'"') {
    const size_t closing = fullCommandLine.find(u'"', 1);
    pos = closing == std::u16string_view::npos ? fullCommandLine.size() : closing + 1;
  } else {
    while (pos < fullCommandLine.size() && !IsBlank(fullCommandLine[pos])) ++pos;
  }
  // Only the one separating blank goes: a second blank belongs to the arguments (" /s" is no switch).
  if (pos < fullCommandLine.size() && IsBlank(fullCommandLine[pos])) ++pos;
  return std::u16string(fullCommandLine.substr(pos));
}

char16_t ModeLetter(std::u16string_view commandText) {
  if (commandText.size() < 2) return 0;
  // Only ASCII letters are upper-cased: the letter is compared with S, P and C alone.
  const char16_t letter = commandText[1];
  return (letter >= u'a' && letter <= u'z') ? static_cast<char16_t>(letter - u'a' + u'A') : letter;
}

int32_t HostHandle(std::u16string_view commandText) {
  size_t pos = kHandleFrom;
  while (pos < commandText.size() && IsBlank(commandText[pos])) ++pos;
  bool negative = false;
  if (pos < commandText.size() && (commandText[pos] == u'-' || commandText[pos] == u'+')) {
    negative = commandText[pos++] == u'-';
  }
  // Accumulate with a ceiling so that any number of digits is safe.
  constexpr uint64_t kCeiling = uint64_t{1} << 40;
  uint64_t magnitude = 0;
  for (; pos < commandText.size() && IsDigit(commandText[pos]); ++pos) {
    magnitude = magnitude * 10 + static_cast<uint64_t>(commandText[pos] - u'0');
    if (magnitude > kCeiling) magnitude = kCeiling;
  }
  constexpr auto kMax = static_cast<uint64_t>(std::numeric_limits<int32_t>::max());
  constexpr uint64_t kMaxUnsigned = std::numeric_limits<uint32_t>::max();
  if (negative) {
    return magnitude > kMax + 1 ? std::numeric_limits<int32_t>::min() : static_cast<int32_t>(-static_cast<int64_t>(magnitude));
  }
  if (magnitude <= kMax) return static_cast<int32_t>(magnitude);
  // A host that prints its 32-bit handle unsigned: the same bits, so the handle still names its window.
  if (magnitude <= kMaxUnsigned) return static_cast<int32_t>(static_cast<uint32_t>(magnitude));
  return std::numeric_limits<int32_t>::max();  // beyond 32 bits: the nearest value
}

}  // namespace kovaren
