// The command line as the screen-saver host builds it: argument part, mode letter, host handle.
#include "start/command_line.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace kovaren::start {
namespace {

TEST(CommandLine, ArgumentPartFollowsTheProgramName) {
  struct Case {
    const char16_t* full;
    const char16_t* text;
  };
  const Case cases[] = {
      {u"\"C:\\Program Files\\Kovaren.scr\" /p 1234", u"/p 1234"},
      {u"C:\\WINDOWS\\KOVAREN.SCR /s", u"/s"},
      {u"C:\\WINDOWS\\KOVAREN.SCR\t/c", u"/c"},
      {u"Kovaren.scr", u""},
      {u"\"C:\\a b\\Kovaren.scr\"", u""},
      {u"\"C:\\a b\\Kovaren.scr\"/c", u"/c"},
      {u"\"C:\\a b\\Kovaren.scr", u""},  // no closing quote: all of it is the name
      {u"Kovaren.scr  /s", u" /s"},      // only one separating blank goes
      {u"Kovaren.scr s", u"s"},
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(CommandText(c.full), c.text);
}

TEST(CommandLine, ModeLetterIsTheUpperCasedSecondCharacter) {
  struct Case {
    const char16_t* text;
    char16_t letter;
  };
  const Case cases[] = {
      {u"/s", u'S'}, {u"/S", u'S'}, {u"-s", u'S'}, {u"/sx", u'S'}, {u" /s", u'/'}, {u"s", 0}, {u"", 0},
      {u"/c", u'C'}, {u"/C", u'C'}, {u"/c:1234", u'C'}, {u"/a 1234", u'A'}, {u"/p 1234", u'P'},
      {u"/z", u'Z'}, {u"/{", u'{'},
  };
  for (const auto& c : cases) EXPECT_EQ(ModeLetter(c.text), c.letter) << static_cast<int>(c.letter);
}

// The expected handles are 32-bit: comparing them with the handle's value checks that it is widened
// with sign (kMin is 0xFFFFFFFF80000000 in a 64-bit build).
TEST(CommandLine, HostHandleKeepsTheLow32BitsOfA64BitNumber) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  struct Case {
    const char16_t* text;
    int32_t handle;
  };
  const Case cases[] = {
      // where the digits start and what ends them
      {u"/p 1234", 1234}, {u"/p:1234", 1234}, {u"/p1234", 234}, {u"/p   77x9", 77}, {u"/p \t5", 5},
      {u"/p", 0}, {u"/p ", 0}, {u"/p abc", 0}, {u"/p -", 0}, {u"/c:1234", 1234},
      // 32-bit values, signed and unsigned
      {u"/p 2147483647", kMax}, {u"/p -2147483648", kMin}, {u"/p -5", -5}, {u"/p +5", 5},
      {u"/p 2147483648", kMin}, {u"/p 4294967295", -1},
      // 64-bit hosts: a sign-extended handle printed unsigned, and bits above 32 that do not count
      {u"/p 18446744071562072064", static_cast<int32_t>(0x80001000u)},
      {u"/p:18446744073709551615", -1}, {u"/p 4294968530", 1234}, {u"/p -4294967297", -1},
      // past 64 bits: no window
      {u"/p 18446744073709551616", 0}, {u"/p 99999999999999999999999999999", 0},
      {u"/p -99999999999999999999", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HostHandle(c.text).value, c.handle) << std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text));
  }
}

}  // namespace
}  // namespace kovaren::start
