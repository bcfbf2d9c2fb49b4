#include "start/command_line.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "text/decimal_number.h"

// The command line as Windows builds it for a screen saver: the program's path, quoted when it holds
// blanks ("C:\Program Files\Kovaren.scr" /p 1234) or bare (C:\WINDOWS\KOVAREN.SCR /s), then one blank
// and the arguments.
namespace kovaren::start {
namespace {

bool IsBlank(char16_t c) { return text::IsOneOf(c, text::kSpaceAndTab); }

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
  return text::ToUpper(commandText[1]);
}

preview::HostWindow HostHandle(std::u16string_view commandText) {
  // Digits up to the first character that cannot continue them; no fraction, no exponent.
  constexpr text::NumberRules kHandleNumber{.blanks = text::kSpaceAndTab, .fraction = false, .exponent = false,
                                            .fillsText = false};
  const auto number = text::ReadDecimal(commandText.substr(std::min(kHandleFrom, commandText.size())), kHandleNumber);
  if (!number) return preview::kNoWindow;
  // A 64-bit host may print its handle as an unsigned 64-bit number (sign-extended from 32 bits), so
  // the digits are read in 64 bits; a number that does not fit names no window at all.
  const std::optional<uint64_t> magnitude = number->WholeMagnitude();
  if (!magnitude) return preview::kNoWindow;
  // After "-", two's complement, as the C library's unsigned readers do.
  const uint64_t value = number->negative ? 0 - *magnitude : *magnitude;
  // Only the low 32 bits of a window handle are significant, on 32-bit and 64-bit Windows alike; they
  // are widened with sign, as the system widens a handle.
  const auto low = static_cast<int32_t>(static_cast<uint32_t>(value));
  return preview::HostWindow{static_cast<std::intptr_t>(low)};
}

}  // namespace kovaren::start
