// The command line as the screen-saver host hands it over: the switch and, for the preview, the host
// window's handle. Texts are UTF-16 as the platform delivers them.
#pragma once
#include <string>
#include <string_view>

#include "preview/host_window.h"

namespace kovaren::start {

// The argument part of a full command line: everything after the program's own name (quoted or not)
// and the one blank that separates it.
std::u16string CommandText(std::u16string_view fullCommandLine);

// The second character of the upper-cased command text; 0 when the text has fewer than two characters.
char16_t ModeLetter(std::u16string_view commandText);

// The preview host's handle: from the fourth character on, blanks skipped, an optional sign, decimal
// digits up to the first character that cannot continue the number, read as an unsigned 64-bit number
// (negated in two's complement after "-"); its low 32 bits, sign-extended, are the handle. No digits,
// or a number past 64 bits, give preview::kNoWindow.
preview::HostWindow HostHandle(std::u16string_view commandText);

}  // namespace kovaren::start
