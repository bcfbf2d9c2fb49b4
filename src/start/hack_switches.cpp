#include "start/hack_switches.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>

#include "text/ascii.h"
#include "text/decimal_number.h"

namespace kovaren::start {
namespace {

constexpr unsigned long long kMaxWindowId = 0xFFFFFFFFull;
// A switch's value and $XSCREENSAVER_WINDOW may come with blanks around them, a line end too.
constexpr std::string_view kArgumentBlanks = " \t\n\r";
constexpr text::NumberRules kWholeDecimal{.blanks = kArgumentBlanks, .fraction = false, .exponent = false,
                                          .fillsText = true};

std::string_view Trimmed(std::string_view text) { return text::Trim(text, kArgumentBlanks); }

// A whole decimal number filling the text (blanks around it aside), with a minus sign or none: a
// plus sign is no part of how these switches are written.
std::optional<text::DecimalNumber> SwitchNumber(std::string_view text) {
  if (Trimmed(text).starts_with('+')) return std::nullopt;
  return text::ReadDecimal(text, kWholeDecimal);
}

// A whole number, 0 or more, that fits 64 bits.
std::optional<uint64_t> Unsigned(std::string_view text) {
  const auto number = SwitchNumber(text);
  if (!number || number->negative) return std::nullopt;
  return number->WholeMagnitude();
}

// A count past the range of a long long is still a count past the end of the range, which clamping
// takes to its end.
std::optional<long long> CountNumber(std::string_view text) {
  const auto number = SwitchNumber(text);
  if (!number) return std::nullopt;
  const uint64_t magnitude = number->WholeMagnitude().value_or(UINT64_MAX);
  const auto bounded = static_cast<long long>(std::min<uint64_t>(magnitude, LLONG_MAX));
  return number->negative ? -bounded : bounded;
}

// Hexadecimal digits filling the text; the decimal reader has no other base.
std::optional<unsigned long long> HexNumber(std::string_view digits) {
  unsigned long long value = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, value, 16);
  if (digits.empty() || error != std::errc{} || stop != end) return std::nullopt;
  return value;
}

// "--name" and "-name" alike; anything else is not a switch.
std::optional<std::string_view> SwitchName(std::string_view arg) {
  if (arg.starts_with("--")) arg.remove_prefix(2);
  else if (arg.starts_with("-")) arg.remove_prefix(1);
  else return std::nullopt;
  if (arg.empty()) return std::nullopt;
  return arg;
}

ParsedHackOptions Refuse(std::string error) { return {std::nullopt, std::move(error)}; }

}  // namespace

std::optional<unsigned long> ParseWindowId(std::string_view text) {
  const std::string_view trimmed = Trimmed(text);
  std::optional<unsigned long long> value;
  if (trimmed.starts_with("0x") || trimmed.starts_with("0X")) {
    value = HexNumber(trimmed.substr(2));
  } else {
    value = Unsigned(trimmed);
  }
  if (!value || *value == 0 || *value > kMaxWindowId) return std::nullopt;
  return static_cast<unsigned long>(*value);
}

int ClampLeafCount(long long count) {
  return static_cast<int>(std::clamp<long long>(count, kLeafCounts.minimum, kLeafCounts.maximum));
}

ParsedHackOptions ParseHackOptions(std::span<const std::string_view> args, std::optional<std::string_view> handedWindow) {
  HackOptions options;
  bool root = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::optional<std::string_view> name = SwitchName(args[i]);
    if (!name) return Refuse("unexpected argument: " + std::string(args[i]));
    // The switches that take a value; the value is the next argument.
    const auto value = [&]() -> std::optional<std::string_view> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    if (*name == "help" || *name == "h") {
      options.help = true;
    } else if (*name == "root") {
      root = true;
    } else if (*name == "window") {
      options.target = HackTarget::OwnWindow;
    } else if (*name == "fullscreen") {
      options.target = HackTarget::FullScreen;
    } else if (*name == "window-id") {
      const auto text = value();
      const auto id = text ? ParseWindowId(*text) : std::nullopt;
      if (!id) return Refuse("--window-id needs a window id (0x... or decimal)");
      options.target = HackTarget::PreviewWindow;
      options.windowId = *id;
    } else if (*name == "count") {
      const auto text = value();
      const auto number = text ? CountNumber(*text) : std::nullopt;
      if (!number) return Refuse("--count needs a whole number");
      options.leafCount = ClampLeafCount(*number);
    } else if (*name == "music") {
      const auto text = value();
      if (!text) return Refuse("--music needs a file");
      options.musicFile = std::string(*text);
    } else if (*name == "seed") {
      const auto text = value();
      const auto number = text ? Unsigned(*text) : std::nullopt;
      if (!number) return Refuse("--seed needs a whole number, 0 or more");
      options.seed = *number;
    } else {
      return Refuse("unknown switch: " + std::string(args[i]));
    }
  }
  // --window-id names its window; --root takes the one handed over, the screen's own without one.
  if (root && options.target != HackTarget::PreviewWindow) {
    const auto handed = handedWindow ? ParseWindowId(*handedWindow) : std::nullopt;
    if (handed) {
      options.target = HackTarget::HandedWindow;
      options.windowId = *handed;
    } else if (handedWindow && !Trimmed(*handedWindow).empty()) {
      return Refuse("XSCREENSAVER_WINDOW is not a window id: " + std::string(*handedWindow));
    } else {
      options.target = HackTarget::RootWindow;
    }
  }
  return {options, {}};
}

std::string HackUsage() {
  const std::string countLine = "  --count N       leaves: N + 1, N from " + std::to_string(kLeafCounts.minimum) + " to " +
                                std::to_string(kLeafCounts.maximum) + " (default " +
                                std::to_string(kLeafCounts.byDefault) + ")\n";
  return "usage: kovaren [--root | --window | --fullscreen | --window-id ID] [--count N] [--music FILE]\n"
         "               [--seed N] [--help]\n"
         "Autumn leaves falling over the screen, one scene per monitor.\n"
         "  --root          draw in the window the screen saver hands over ($XSCREENSAVER_WINDOW),\n"
         "                  or on the root window when there is none\n"
         "  --window        a window of its own (the default); a key or a click ends it\n"
         "  --fullscreen    a window of its own over every monitor; a key or a click ends it\n"
         "  --window-id ID  draw in window ID (hexadecimal 0x... or decimal): the settings' preview\n" +
         countLine +
         "  --music FILE    an MP3 or WAV file played over and over while the leaves fall\n"
         "  --seed N        the same leaves every run (default: from the time of day)\n";
}

}  // namespace kovaren::start
