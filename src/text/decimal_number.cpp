#include "text/decimal_number.h"

#include <algorithm>
#include <charconv>

// The number is read exactly, in decimal, so that no binary rounding can move a value across a whole
// number (32767.99999999999999999 floors to 32767); callers that want a double get a correctly
// rounded one from the text as written.
namespace kovaren::text {
namespace {

// An exponent this large already lies far beyond any range a caller accepts.
constexpr int64_t kExponentCap = 1'000'000'000;
// 10^18 fits 64 bits with room to spare: Floor's whole parts stay below it.
constexpr int64_t kMostFloorDigits = 18;
// A 64-bit number has at most 20 decimal digits.
constexpr int64_t kMost64BitDigits = 20;

template <class Char>
std::optional<DecimalNumber> Read(std::basic_string_view<Char> text, const NumberRules& rules) {
  DecimalNumber number;
  size_t pos = 0;
  const auto at = [&](size_t i) { return i < text.size() ? text[i] : Char(0); };
  while (pos < text.size() && IsOneOf(text[pos], rules.blanks)) ++pos;
  if (at(pos) == Char('+') || at(pos) == Char('-')) number.negative = text[pos++] == Char('-');
  const size_t writtenFrom = pos;

  bool anyDigit = false;
  for (; IsDigit(at(pos)); ++pos) {
    anyDigit = true;
    if (number.digits.empty() && text[pos] == Char('0')) continue;
    number.digits.push_back(static_cast<char>(text[pos]));
    ++number.pointAt;
  }
  if (rules.fraction && at(pos) == Char('.')) {
    for (++pos; IsDigit(at(pos)); ++pos) {
      anyDigit = true;
      if (number.digits.empty() && text[pos] == Char('0')) {
        --number.pointAt;
        continue;
      }
      number.digits.push_back(static_cast<char>(text[pos]));
    }
  }
  if (!anyDigit) return std::nullopt;

  if (rules.exponent && (at(pos) == Char('e') || at(pos) == Char('E'))) {
    size_t e = pos + 1;
    bool exponentNegative = false;
    if (at(e) == Char('+') || at(e) == Char('-')) exponentNegative = text[e++] == Char('-');
    if (IsDigit(at(e))) {  // otherwise the number ends before the "e"
      int64_t exponent = 0;
      for (; IsDigit(at(e)); ++e) exponent = std::min(exponent * 10 + (text[e] - Char('0')), kExponentCap);
      number.pointAt += exponentNegative ? -exponent : exponent;
      pos = e;
    }
  }
  for (size_t i = writtenFrom; i < pos; ++i) number.written.push_back(static_cast<char>(text[i]));

  if (rules.fillsText) {
    while (pos < text.size() && IsOneOf(text[pos], rules.blanks)) ++pos;
    if (pos != text.size()) return std::nullopt;
  }
  if (number.digits.empty()) number.pointAt = 0;  // zero, whatever the exponent
  return number;
}

}  // namespace

std::optional<int64_t> DecimalNumber::Floor(int64_t min, int64_t max) const {
  if (pointAt > kMostFloorDigits) return std::nullopt;
  int64_t whole = 0;
  for (int64_t i = 0; i < pointAt; ++i) {
    whole = whole * 10 + (i < static_cast<int64_t>(digits.size()) ? digits[static_cast<size_t>(i)] - '0' : 0);
  }
  const size_t fractionFrom = static_cast<size_t>(std::clamp<int64_t>(pointAt, 0, static_cast<int64_t>(digits.size())));
  const bool hasFraction = digits.find_first_not_of('0', fractionFrom) != std::string::npos;
  const int64_t value = negative ? -whole - (hasFraction ? 1 : 0) : whole;
  if (value < min || value > max) return std::nullopt;
  return value;
}

std::optional<uint64_t> DecimalNumber::WholeMagnitude() const {
  if (pointAt > kMost64BitDigits) return std::nullopt;
  constexpr uint64_t kLargest = UINT64_MAX;
  uint64_t whole = 0;
  for (int64_t i = 0; i < pointAt; ++i) {
    const auto digit =
        static_cast<uint64_t>(i < static_cast<int64_t>(digits.size()) ? digits[static_cast<size_t>(i)] - '0' : 0);
    if (whole > (kLargest - digit) / 10) return std::nullopt;
    whole = whole * 10 + digit;
  }
  return whole;
}

DecimalNumber::Binary DecimalNumber::MagnitudeAsDouble() const {
  Binary binary;
  binary.error = std::from_chars(written.data(), written.data() + written.size(), binary.magnitude).ec;
  // from_chars calls a value too small for a double out of range as well; rounded, it is 0. A value
  // below 1 (no digit before the point) can only be too small.
  if (binary.error == std::errc::result_out_of_range && pointAt <= 0) binary = Binary{};
  return binary;
}

std::optional<DecimalNumber> ReadDecimal(std::string_view text, const NumberRules& rules) {
  return Read(text, rules);
}
std::optional<DecimalNumber> ReadDecimal(std::u16string_view text, const NumberRules& rules) {
  return Read(text, rules);
}
std::optional<DecimalNumber> ReadDecimal(std::wstring_view text, const NumberRules& rules) {
  return Read(text, rules);
}

}  // namespace kovaren::text
