// The program's one reader of decimal numbers. Every caller reads numbers from a different source
// (the settings file, the repeat-track box, a device's reply, a button's stored property, the command
// line) with its own rules: which blanks surround a number, whether it may have a fraction or an
// exponent, and whether it must fill the text. They pass those rules here, then turn the exact decimal
// that comes back into their own value: floored, rounded through a double, or a whole 64-bit number.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "text/ascii.h"

namespace kovaren::text {

struct NumberRules {
  std::string_view blanks = kSpaceAndTab;  // skipped before the number, and after it when it fills the text
  bool fraction = true;                    // a decimal point with digits on either side ("5.", ".5")
  bool exponent = false;                   // "e" or "E", an optional sign and at least one digit
  bool fillsText = true;                   // false: the number ends where a character cannot continue it
};

// A decimal number exactly as written: sign × 0.digits × 10^pointAt. An optional sign ("+" or "-")
// comes first; at least one digit must follow, before or after the point.
struct DecimalNumber {
  bool negative = false;
  std::string digits;   // significant digits, leading zeros dropped; empty for zero
  int64_t pointAt = 0;  // how many of `digits` stand before the decimal point (negative: zeros after it)
  std::string written;  // the number as written, without its sign: what a double is read from

  // The greatest whole number not above the value; nothing outside [min, max]. |min|, |max| < 10^18.
  std::optional<int64_t> Floor(int64_t min, int64_t max) const;
  // The whole part of the magnitude (the fraction dropped); nothing when it does not fit 64 bits.
  std::optional<uint64_t> WholeMagnitude() const;

  // The magnitude correctly rounded to a double, as std::from_chars reads `written`; `error` is
  // std::errc::result_out_of_range when the value is too large for a double. A value too small for
  // one (1e-400) rounds to 0.
  struct Binary {
    double magnitude = 0;
    std::errc error{};
  };
  Binary MagnitudeAsDouble() const;
};

std::optional<DecimalNumber> ReadDecimal(std::string_view text, const NumberRules& rules);
std::optional<DecimalNumber> ReadDecimal(std::u16string_view text, const NumberRules& rules);
std::optional<DecimalNumber> ReadDecimal(std::wstring_view text, const NumberRules& rules);

}  // namespace kovaren::text
