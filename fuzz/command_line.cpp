// Fuzzes the command-line parser with arbitrary UTF-16 command lines: the command text is a tail of
// the line, the mode letter its second character, and the host handle matches a wide reference.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "fuzz_check.h"
#include "app/command_line.h"

namespace {

// The handle rule computed in 128 bits: digits after blanks from the fourth character; the signed
// range as it is, 2^31..2^32-1 as the same 32 bits, beyond that the nearest value.
int32_t ReferenceHandle(std::u16string_view text) {
  size_t pos = 3;
  while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) negative = text[pos++] == u'-';
  __int128 n = 0;
  for (; pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9'; ++pos) {
    if (n < (__int128{1} << 64)) n = n * 10 + (text[pos] - u'0');
  }
  if (negative) n = -n;
  constexpr __int128 kMin = std::numeric_limits<int32_t>::min();
  constexpr __int128 kMax = std::numeric_limits<int32_t>::max();
  if (n < kMin) return std::numeric_limits<int32_t>::min();
  if (n <= kMax) return static_cast<int32_t>(n);
  if (n <= std::numeric_limits<uint32_t>::max()) return static_cast<int32_t>(static_cast<uint32_t>(n));
  return std::numeric_limits<int32_t>::max();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string line(size / 2, u'\0');
  if (!line.empty()) std::memcpy(line.data(), data, line.size() * 2);

  const std::u16string text = kovaren::CommandText(line);
  CHECK(text.size() <= line.size() && line.compare(line.size() - text.size(), text.size(), text) == 0);

  const char16_t letter = kovaren::ModeLetter(text);
  if (text.size() < 2) {
    CHECK(letter == 0);
  } else {
    const char16_t second = text[1];
    CHECK(letter == second || (second >= u'a' && second <= u'z' && letter == second - u'a' + u'A'));
  }

  CHECK(kovaren::HostHandle(line) == ReferenceHandle(line));
  CHECK(kovaren::HostHandle(text) == ReferenceHandle(text));
  return 0;
}
