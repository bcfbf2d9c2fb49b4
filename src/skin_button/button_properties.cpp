#include "skin_button/button_properties.h"

#include <cwctype>

#include "gfx/rounding.h"
#include "text/decimal_number.h"

namespace kovaren::skin_button {
namespace {

constexpr int64_t kTrue = -1;  // a stored boolean's numeric value
// "&H" and at most 16 hexadecimal digits: a stored number in hexadecimal fills 64 bits at most.
constexpr std::wstring_view kHexPrefix = L"&H";
constexpr size_t kMostHexDigits = 16;
// Beyond this a rounded number would not fit 64 bits.
constexpr double kLargestStoredMagnitude = 9.0e18;

std::string LowerKey(std::string_view key) {
  std::string lower(key);
  for (char& c : lower) c = text::ToLower(c);
  return lower;
}

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) return false;
  }
  return true;
}

// Number text: spaces around, an optional sign, decimal digits with an optional fraction (rounded
// half to even), or "&H" and hexadecimal digits. Nothing for anything else or out of range.
std::optional<int64_t> ParseNumber(std::wstring_view text) {
  text = text::Trim(text, text::kSpace);
  if (text.size() > kHexPrefix.size() && text[0] == L'&' && (text[1] == L'H' || text[1] == L'h')) {
    uint64_t value = 0;
    if (text.size() > kHexPrefix.size() + kMostHexDigits) return std::nullopt;
    for (wchar_t c : text.substr(kHexPrefix.size())) {
      int digit = -1;
      if (c >= L'0' && c <= L'9') digit = c - L'0';
      else if (c >= L'a' && c <= L'f') digit = c - L'a' + 10;
      else if (c >= L'A' && c <= L'F') digit = c - L'A' + 10;
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<uint64_t>(digit);
    }
    return static_cast<int64_t>(value);
  }
  constexpr text::NumberRules kStoredDecimal{.blanks = text::kSpace, .fraction = true, .exponent = false,
                                             .fillsText = true};
  const auto number = text::ReadDecimal(text, kStoredDecimal);
  if (!number) return std::nullopt;
  const auto [magnitude, error] = number->MagnitudeAsDouble();
  if (error != std::errc() || magnitude > kLargestStoredMagnitude) return std::nullopt;
  return static_cast<int64_t>(RoundHalfEven(number->negative ? -magnitude : magnitude));
}

std::optional<int64_t> NumericValue(const PropertyValue& v) {
  if (const auto* b = std::get_if<bool>(&v)) return *b ? kTrue : 0;
  if (const auto* n = std::get_if<int64_t>(&v)) return *n;
  if (const auto* s = std::get_if<std::wstring>(&v)) return ParseNumber(*s);
  return std::nullopt;
}

}  // namespace

FontSpec DesignFont() {
  return FontSpec{L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF", 975, 400, false, false, false, 128};
}

bool SameValue(const PropertyValue& a, const PropertyValue& b) {
  const auto* fa = std::get_if<FontSpec>(&a);
  const auto* fb = std::get_if<FontSpec>(&b);
  if (fa || fb) return fa && fb && *fa == *fb;
  const auto* sa = std::get_if<std::wstring>(&a);
  const auto* sb = std::get_if<std::wstring>(&b);
  if (sa && sb) return *sa == *sb;
  const auto na = NumericValue(a);
  const auto nb = NumericValue(b);
  return na && nb && *na == *nb;
}

std::optional<bool> ToBoolean(const PropertyValue& v) {
  if (const auto* s = std::get_if<std::wstring>(&v)) {
    if (EqualsIgnoringCase(*s, L"True")) return true;
    if (EqualsIgnoringCase(*s, L"False")) return false;
  }
  const auto n = NumericValue(v);
  if (!n) return std::nullopt;
  return *n != 0;
}

std::optional<std::wstring> ToText(const PropertyValue& v) {
  if (const auto* s = std::get_if<std::wstring>(&v)) return *s;
  if (const auto* b = std::get_if<bool>(&v)) return std::wstring(*b ? L"True" : L"False");
  if (const auto* n = std::get_if<int64_t>(&v)) return std::to_wstring(*n);
  return std::nullopt;
}

std::optional<int64_t> ToInteger(const PropertyValue& v, int64_t min, int64_t max) {
  const auto n = NumericValue(v);
  if (!n || *n < min || *n > max) return std::nullopt;
  return n;
}

PropertyValue MemoryPropertyStore::Read(std::string_view key, const PropertyValue& fallback) const {
  const auto it = entries_.find(LowerKey(key));
  return it == entries_.end() ? fallback : it->second;
}

void MemoryPropertyStore::Write(std::string_view key, const PropertyValue& value, const PropertyValue& fallback) {
  if (SameValue(value, fallback)) {
    entries_.erase(LowerKey(key));
  } else {
    entries_[LowerKey(key)] = value;
  }
}

void MemoryPropertyStore::Put(std::string_view key, PropertyValue value) { entries_[LowerKey(key)] = std::move(value); }

bool MemoryPropertyStore::Contains(std::string_view key) const { return entries_.count(LowerKey(key)) != 0; }

}  // namespace kovaren::skin_button
