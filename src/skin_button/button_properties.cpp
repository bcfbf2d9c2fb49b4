#include "skin_button/button_properties.h"

#include <cwctype>
#include <utility>

#include "gfx/rounding.h"
#include "text/decimal_number.h"

namespace kovaren::skin_button {
namespace {

constexpr ColourRef kBlack = 0;

// Stored keys and their defaults. The caption's write default ("Command", the name the button is made
// with) differs from its read default ("Command1", what a freshly placed instance is called), so a
// caption of exactly "Command" is not stored and comes back as "Command1".
constexpr std::string_view kKeyEnabled = "Enabled";
constexpr std::string_view kKeyCaption = "Caption";
constexpr std::string_view kKeyFont = "Font";
constexpr std::string_view kKeyFirstRun = "FirstRun";
constexpr std::string_view kKeyFontColour = "FontColour";
constexpr std::string_view kKeyVisible = "Visible";
const wchar_t* const kCaptionReadDefault = L"Command1";
const wchar_t* const kCaptionWriteDefault = L"Command";
const wchar_t* const kOneText = L"1";
const wchar_t* const kZeroText = L"0";
constexpr uint8_t kVisibleTrue = UINT8_MAX;  // how a stored layout reads an opaque background

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

PropertyBagButton::PropertyBagButton(SkinButtonSite& site, SkinSet skins, FontSpec ambientFont,
                                     PropertyChanged changed)
    : button_(site, std::move(skins), ButtonSetup{.enabled = false}),
      ambientFont_(std::move(ambientFont)),
      changed_(std::move(changed)) {}

void PropertyBagButton::ReadProperties(const PropertyStore& store) {
  // Each value that cannot be converted is skipped; the field keeps what it had.
  if (auto v = ToBoolean(store.Read(kKeyEnabled, true))) button_.SetEnabled(*v);
  if (auto v = ToText(store.Read(kKeyCaption, std::wstring(kCaptionReadDefault)))) button_.SetCaption(std::move(*v));
  // Only the stored face name is taken; size, weight, style and character set stay the caption's.
  const PropertyValue storedFont = store.Read(kKeyFont, ambientFont_);
  if (const auto* f = std::get_if<FontSpec>(&storedFont)) {
    FontSpec font = button_.Font();
    font.face = f->face;
    button_.SetFont(std::move(font));
  }
  if (auto v = ToInteger(store.Read(kKeyFirstRun, std::wstring(kOneText)), 0, UINT8_MAX)) {
    firstRun_ = static_cast<uint8_t>(*v);
  }
  if (auto v = ToInteger(store.Read(kKeyFontColour, std::wstring(kZeroText)), INT32_MIN, UINT32_MAX)) {
    button_.SetFontColour(static_cast<ColourRef>(*v));
  }
  if (auto v = ToInteger(store.Read(kKeyVisible, std::wstring(kOneText)), INT16_MIN, INT16_MAX)) {
    button_.SetVisible(*v != 0);
  }
  ResetLook();
}

void PropertyBagButton::WriteProperties(PropertyStore& store) {
  store.Write(kKeyEnabled, button_.Enabled(), true);
  store.Write(kKeyCaption, button_.Caption(), std::wstring(kCaptionWriteDefault));
  store.Write(kKeyFirstRun, int64_t{firstRun_}, std::wstring(kOneText));
  store.Write(kKeyFont, button_.Font(), ambientFont_);
  store.Write(kKeyFontColour, int64_t{static_cast<int32_t>(button_.FontColour())}, std::wstring(kZeroText));
  store.Write(kKeyVisible, int64_t{button_.Visible() ? 1 : 0}, std::wstring(kOneText));
  ResetLook();
}

void PropertyBagButton::SetCaption(std::wstring text) {
  button_.SetCaption(std::move(text));
  Notify(kKeyCaption);
}

void PropertyBagButton::SetFont(FontSpec font) {
  button_.SetFont(std::move(font));
  Notify(kKeyFont);
}

ColourRef PropertyBagButton::ReadFontColour() {
  const ColourRef colour = button_.FontColour();
  ResetLook();
  return colour;
}

void PropertyBagButton::SetFontColour(ColourRef colour) {
  button_.SetFontColour(colour);
  ResetLook();
  Notify(kKeyFontColour);
}

bool PropertyBagButton::ReadEnabled() {
  const bool settingUp = firstRun_ == 0;
  if (settingUp) {
    // Stands in for first-time creation: the first read switches a fresh instance on.
    ResetLook();
    firstRun_ = 1;
  }
  const bool enabled = settingUp || button_.Enabled();
  button_.SetEnabled(enabled);  // the read redraws by the value
  return enabled;
}

void PropertyBagButton::SetEnabled(bool enabled) {
  button_.SetEnabled(enabled);
  Notify(kKeyEnabled);
}

uint8_t PropertyBagButton::ReadVisible() {
  if (!button_.Visible()) return 0;
  ResetLook();
  return kVisibleTrue;
}

void PropertyBagButton::SetVisible(uint8_t value) {
  button_.SetVisible(value != 0);
  if (value != 0) ResetLook();
  Notify(kKeyVisible);
}

void PropertyBagButton::ResetLook() {
  // A button never set up shows its caption black.
  if (firstRun_ == 0 && button_.Enabled()) button_.SetFontColour(kBlack);
  button_.ResetLook();
}

void PropertyBagButton::Notify(std::string_view name) {
  if (changed_) changed_(name);
}

}  // namespace kovaren::skin_button
