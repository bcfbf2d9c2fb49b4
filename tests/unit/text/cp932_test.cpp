// The code page 932 walker and what is built on it: whole characters at every cut, every trailing
// backslash test and every upper-casing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/cp932.h"

namespace kovaren::text {
namespace {

TEST(Cp932Text, ALeadByteIsPairedOnlyWithAValidTrailByte) {
  struct Case {
    const char* what;
    std::string text;
    size_t length;
  };
  const Case cases[] = {
      {"kanji", "\x82\xA0", 2},
      {"trail byte 0x5C", "\x83\x5C", 2},
      {"trail byte at the top of the range", "\xE0\xFC", 2},
      {"carriage return after a lead byte", "\x83\r", 1},
      {"line feed after a lead byte", "\x83\n", 1},
      {"blank after a lead byte", "\x83 ", 1},
      {"DEL after a lead byte", "\x83\x7F", 1},
      {"lead byte at the end", "\x83", 1},
      {"half-width kana", "\xB1\xB2", 1},
      {"ASCII", "ab", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(CharLength(c.text, 0), c.length) << c.what;
  // Every user of the walker agrees: a line break after a lead byte stays a character of its own.
  EXPECT_EQ(UpperLastCharacters("a\x83\r", 1), "\r");
  std::vector<char> buffer(3, '#');
  CopyIntoBuffer("\x83\rx", buffer);
  EXPECT_EQ(BufferText(buffer), "\x83\r");
}

TEST(Cp932Text, CutsAndTestsWholeCharacters) {
  const std::string a254(254, 'a');
  EXPECT_EQ(CutToBytes(a254 + "\x83\x41", 255), a254);          // the character would straddle byte 255
  EXPECT_EQ(CutToBytes(a254 + "b\x83\x41", 255), a254 + "b");
  EXPECT_EQ(CutToBytes("\x83\x5C\x83", 255), "\x83\x5C\x83");   // a lone lead byte at the end is one byte
  EXPECT_EQ(CutToBytes("\x83\r", 1), "\x83");                    // a broken pair never swallows a break

  struct Case {
    const char* text;
    bool backslash;
  };
  const Case endings[] = {
      {"C:\\a\\", true}, {"\\", true}, {"", false}, {"C:\\\x83\x5C", false},  // ソ ends in 0x5C
      {"\x83\x5C\\", true}, {"a\x83\x5C\x5C", true}, {"\x83", false},
  };
  for (const auto& c : endings) EXPECT_EQ(EndsWithBackslash(c.text), c.backslash) << c.text;
}

TEST(Cp932Text, CopyIntoBufferCutsOnlyBetweenCharacters) {
  struct Case {
    std::string text;
    size_t capacity;
    std::string stored;
  };
  const Case cases[] = {
      {"abc", 4, "abc"},
      {"abcd", 4, "abc"},
      {"ab\x82\xa0", 4, "ab"},          // the double-byte character would not fit whole
      {"a\x82\xa0" "b", 4, "a\x82\xa0"},
      {"\xb1\xb2\xb3", 3, "\xb1\xb2"},  // half-width kana are single bytes
      {"", 1, ""},
  };
  for (const Case& c : cases) {
    std::vector<char> buffer(c.capacity, '#');
    CopyIntoBuffer(c.text, buffer);
    EXPECT_EQ(BufferText(buffer), c.stored);
  }
}

TEST(Cp932Text, UpperLastCharactersCountsDoubleByteCharactersAsOne) {
  struct Case {
    std::string text;
    std::string last3;
  };
  const Case cases[] = {
      {"song.Mp3", "MP3"},
      {"ab", "AB"},
      {"x\x83\x57" "av", "\x83\x57" "AV"},  // trail byte 'W' stays as it is
      {"\x83\x57\x83\x41\x83\x56", "\x83\x57\x83\x41\x83\x56"},
      {"abc\x82", "BC\x82"},  // a lone lead byte at the end is one character
  };
  for (const Case& c : cases) EXPECT_EQ(UpperLastCharacters(c.text, 3), c.last3) << c.text;
}

}  // namespace
}  // namespace kovaren::text
