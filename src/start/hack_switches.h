// The switches of kovaren, the X11 screen-saver program (an xscreensaver "hack"), read into the
// saver's HackOptions. Parsed here, away from X11, so every switch and every odd value is decided
// and tested in one place. The switches are read as xscreensaver's hacks read
// theirs: one dash or two ("-root" as xsecurelock passes it, "--root" as the daemon's settings write).
#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "saver/hack_options.h"

namespace kovaren::start {

using saver::HackOptions;
using saver::HackTarget;

struct ParsedHackOptions {
  std::optional<HackOptions> options;  // nothing when a switch is unknown or its value is bad
  std::string error;                   // then: one line saying which, for the usage message
};

// `args`: the command line without the program name. `handedWindow`: $XSCREENSAVER_WINDOW, when set.
ParsedHackOptions ParseHackOptions(std::span<const std::string_view> args, std::optional<std::string_view> handedWindow);

// "0x2a00007" (hexadecimal, as the daemon writes it) or "44040199" (decimal, as xsecurelock writes
// it); surrounding blanks allowed. Nothing for anything else, 0, or a value beyond 32 bits (X ids
// have 29).
std::optional<unsigned long> ParseWindowId(std::string_view text);

// Any count to the range the settings offer (kLeafCounts).
int ClampLeafCount(long long count);

// The usage text of --help.
std::string HackUsage();

}  // namespace kovaren::start
