// Fuzzes the command-line parser with arbitrary UTF-16 command lines: the command text is a tail of
// the line, the mode letter its second character, and the host handle matches a wide reference.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "fuzz_check.h"
#include "start/command_line.h"

namespace {

// The handle rule computed in 128 bits: digits after blanks from the fourth character, read as an
// unsigned 64-bit number (none past 64 bits), negated modulo 2^64 after "-", low 32 bits kept.
int32_t ReferenceHandle(std::u16string_view text) {
  size_t pos = 3;
  while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) negative = text[pos++] == u'-';
  unsigned __int128 n = 0;
  for (; pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9'; ++pos) {
    n = n * 10 + (text[pos] - u'0');
    if (n > std::numeric_limits<uint64_t>::max()) return 0;
  }
  auto value = static_cast<uint64_t>(n);
  if (negative) value = 0 - value;
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string line(size / 2, u'\0');
  if (!line.empty()) std::memcpy(line.data(), data, line.size() * 2);

  const std::u16string text = kovaren::start::CommandText(line);
  CHECK(text.size() <= line.size() && line.compare(line.size() - text.size(), text.size(), text) == 0);

  const char16_t letter = kovaren::start::ModeLetter(text);
  if (text.size() < 2) {
    CHECK(letter == 0);
  } else {
    const char16_t second = text[1];
    CHECK(letter == second || (second >= u'a' && second <= u'z' && letter == second - u'a' + u'A'));
  }

  CHECK(kovaren::start::HostHandle(line).value == ReferenceHandle(line));
  CHECK(kovaren::start::HostHandle(text).value == ReferenceHandle(text));
  return 0;
}
