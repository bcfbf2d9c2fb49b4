// Fuzzes the INI reader and writer: arbitrary file bytes, names and values. A write must keep every
// line but the one it changes, read back as written, leave every other key as it was, and be a no-op
// when repeated.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "settings_file/ini_file.h"
#include "settings_file/settings.h"
#include "text/cp932.h"

namespace {

using kovaren::ini::CanStore;
using kovaren::ini::NamesEqual;
using kovaren::ini::ReadValue;
using kovaren::ini::WithValue;

bool IsBlank(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= 0x09 && b <= 0x0D) || b == 0x1A || b == 0x20;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// What reading gives back for a stored value: blanks trimmed, one pair of matching quotes removed.
std::string AsRead(std::string_view value) {
  value = Trim(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

// Names from a small set most of the time, so that writes meet existing sections and keys.
std::string PickName(FuzzedDataProvider& in) {
  static const std::string_view kNames[] = {
      kovaren::kSettingsSection, kovaren::kKeyBgmKind, kovaren::kKeyBgmRepeat, kovaren::kKeyBgmFile,
      kovaren::kKeyLeafCount, "section", "k", "K", " k ", ";c", "\x83\x5D", "a]b"};
  const uint8_t pick = in.ConsumeIntegral<uint8_t>();
  if (pick < std::size(kNames) * 16) return std::string(kNames[pick % std::size(kNames)]);
  return in.ConsumeRandomLengthString(12);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string section = PickName(in);
  const std::string key = PickName(in);
  const std::string probeSection = PickName(in);
  const std::string probeKey = PickName(in);
  const std::string value = in.ConsumeRandomLengthString(300);
  const std::string text = in.ConsumeRemainingBytesAsString();

  // Character helpers on arbitrary bytes.
  const std::string_view cut = kovaren::text::CutToBytes(text, 255);
  CHECK(cut.size() <= 255 && text.compare(0, cut.size(), cut) == 0);
  CHECK(cut.size() == text.size() || cut.size() >= 254);
  CHECK(NamesEqual(text, text));
  (void)kovaren::text::EndsWithBackslash(text);

  const auto probeBefore = ReadValue(text, probeSection, probeKey);
  const auto written = WithValue(text, section, key, value);
  CHECK(written.has_value() == CanStore(section, key, value));
  if (!written) return 0;
  const std::string& out = *written;

  // Reading back gives the value.
  CHECK(ReadValue(out, section, key) == AsRead(value));

  // Every byte outside one line's content is kept: what the write removed holds no line break.
  size_t prefix = 0;
  while (prefix < text.size() && prefix < out.size() && text[prefix] == out[prefix]) ++prefix;
  size_t suffix = 0;
  while (suffix < text.size() - prefix && suffix < out.size() - prefix &&
         text[text.size() - 1 - suffix] == out[out.size() - 1 - suffix]) {
    ++suffix;
  }
  const std::string_view removed = std::string_view(text).substr(prefix, text.size() - prefix - suffix);
  CHECK(removed.find_first_of("\r\n") == std::string_view::npos);

  // Every other key reads as before.
  const bool sameKey = NamesEqual(Trim(probeSection), Trim(section)) && NamesEqual(Trim(probeKey), Trim(key));
  if (!sameKey) CHECK(ReadValue(out, probeSection, probeKey) == probeBefore);

  // Saving the same value again changes nothing.
  CHECK(WithValue(out, section, key, value) == out);
  return 0;
}
