#include "main/command_line.h"

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
  // A 64-bit host may print its handle as an unsigned 64-bit number (sign-extended from 32 bits), so
  // the digits are read in 64 bits; a number that does not fit names no window at all.
  constexpr uint64_t kLargest = std::numeric_limits<uint64_t>::max();
  uint64_t value = 0;
  for (; pos < commandText.size() && IsDigit(commandText[pos]); ++pos) {
    const auto digit = static_cast<uint64_t>(commandText[pos] - u'0');
    if (value > (kLargest - digit) / 10) return kNoWindow;
    value = value * 10 + digit;
  }
  if (negative) value = 0 - value;  // two's complement, as the C library's unsigned readers do
  // Only the low 32 bits of a window handle are significant, on 32-bit and 64-bit Windows alike.
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

}  // namespace kovaren
