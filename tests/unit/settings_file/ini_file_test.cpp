// The INI reader and writer on bytes: the profile functions' reading rules, where a write puts new
// lines, and that a write changes nothing but the one value.
#include "settings_file/ini_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "settings_file/settings.h"

namespace kovaren::ini {
namespace {

using namespace std::string_literals;

struct ReadCase {
  const char* what;
  std::string text;
  std::string section;
  std::string key;
  std::optional<std::string> expected;
};

TEST(IniRead, FollowsTheProfileReadingRules) {
  const ReadCase cases[] = {
      {"plain", "[S]\r\nk=v\r\n", "S", "k", "v"},
      {"names ignore ASCII case", "[SECTION]\r\nKEY=v", "section", "Key", "v"},
      {"table key in other case", "[section]\r\nbgm\x8B\xE6\x95\xAA= 2\r\n", "Section", std::string(kKeyBgmKind), "2"},
      {"blanks trimmed around names and value", "  [ S ]  \r\n\t k \t=  v a l \t\r\n", "S", "k", "v a l"},
      {"0x1A and vertical tab are blanks", "[S]\r\nk=\x1Av\x0B", "S", "k", "v"},
      {"requested names are trimmed too", "[S]\r\nk=v", " S ", " k\t", "v"},
      {"value after the first equals sign", "[S]\r\nk=a=b", "S", "k", "a=b"},
      {"first key wins", "[S]\r\nk=1\r\nk=2", "S", "k", "1"},
      {"first section wins", "[S]\r\na=1\r\n[s]\r\nk=2", "S", "k", std::nullopt},
      {"double quotes go", "[S]\r\nk=\"a b\" ", "S", "k", "a b"},
      {"single quotes go", "[S]\r\nk='a'", "S", "k", "a"},
      {"unmatched quotes stay", "[S]\r\nk=\"a'", "S", "k", "\"a'"},
      {"a lone quote stays", "[S]\r\nk=\"", "S", "k", "\""},
      {"LF and CR alone end lines", "[S]\nk=1\rj=2\n", "S", "j", "2"},
      {"a line without equals reads empty", "[S]\r\nflag\r\n", "S", "flag", ""},
      {"a comment line is a key by name", "[S]\r\n;c=x", "S", ";c", "x"},
      {"lines before any section are in none", "k=1\r\n[S]\r\n", "S", "k", std::nullopt},
      {"key of another section", "[T]\r\nk=1\r\n[S]\r\n", "S", "k", std::nullopt},
      {"missing section", "[T]\r\nk=1", "S", "k", std::nullopt},
      {"empty text", "", "S", "k", std::nullopt},
      {"header runs to the last bracket", "[a]b]x\r\nk=1", "a]b", "k", "1"},
      {"a line of [ without ] is no header", "[S]\r\n[odd\r\nk=1", "S", "k", "1"},
      // 0x5D is the trail byte of "ゾ" (83 5D): it neither closes the header nor hides it.
      {"double-byte name ending in trail 0x5D", "[\x83\x5D]\r\nk=1", "\x83\x5D", "k", "1"},
      {"trail 0x5D is no bracket", "[\x83\x5D\r\nk=1", "\x83", "k", std::nullopt},
      // "ア" is 83 41, "ヂ" 83 61: folding the trail byte as a letter would make them one name.
      {"trail bytes are not letters", "[S]\r\n\x83\x61=1", "S", "\x83\x41", std::nullopt},
      {"empty key is never found", "[S]\r\n=1", "S", "", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadValue(c.text, c.section, c.key), c.expected) << c.what;
  }
}

struct WriteCase {
  const char* what;
  std::string text;
  std::string expected;
};

TEST(IniWrite, PutsNewLinesWhereTheyBelongAndReadsBack) {
  const WriteCase cases[] = {
      {"no file yet", "", "[S]\r\nk=v\r\n"},
      {"new section after a last line without break", "[A]\r\na=1", "[A]\r\na=1\r\n\r\n[S]\r\nk=v\r\n"},
      {"new section after a blank line", "[A]\r\n\r\n", "[A]\r\n\r\n[S]\r\nk=v\r\n"},
      {"new section after blanks that end the text", "[A]\r\n \t", "[A]\r\n \t\r\n[S]\r\nk=v\r\n"},
      {"new key after the section's last line, before its blank lines",
       "[S]\r\na=1\r\n\r\n[T]\r\n", "[S]\r\na=1\r\nk=v\r\n\r\n[T]\r\n"},
      {"new key after a header that ends the file", "[S]", "[S]\r\nk=v\r\n"},
      {"new key in an LF-only file", "[S]\na=1\n", "[S]\na=1\nk=v\r\n"},
      {"new key goes into the first of two sections", "[S]\r\na=1\r\n[s]\r\nk=2\r\n",
       "[S]\r\na=1\r\nk=v\r\n[s]\r\nk=2\r\n"},
      {"replace keeps blanks around the value", "[S]\r\nk = old  \r\n", "[S]\r\nk = v  \r\n"},
      {"replace drops the old quotes", "[S]\r\nk=\"old\"\n", "[S]\r\nk=v\n"},
      {"empty value filled", "[S]\r\nk=\r\n", "[S]\r\nk=v\r\n"},
      {"a key without equals gets one", "[S]\nk\n", "[S]\nk=v\n"},
      {"same value: same bytes", "[S]\r\nk=v", "[S]\r\nk=v"},
  };
  for (const auto& c : cases) {
    const auto written = WithValue(c.text, "S", "k", "v");
    ASSERT_TRUE(written) << c.what;
    EXPECT_EQ(*written, c.expected) << c.what;
    EXPECT_EQ(ReadValue(*written, "s", "K"), "v") << c.what;
  }
}

TEST(IniWrite, SavingAgainChangesNothing) {
  // Number text brings a blank of its own; each save must not add one more.
  const std::string lines[] = {"k=old", "k = old  ", "k=", "k", "k \x1A", "k  =\t", "k=\"q\" "};
  const std::string values[] = {" 100", "v", "v ", " v ", "", "  "};
  for (const auto& line : lines) {
    for (const auto& value : values) {
      const auto once = WithValue("[S]\r\n" + line + "\r\n[T]\r\n", "S", "k", value);
      ASSERT_TRUE(once);
      EXPECT_EQ(WithValue(*once, "S", "k", value), once) << line << " <- '" << value << "'";
    }
  }
  EXPECT_EQ(WithValue("[S]\r\nk= 100\r\n", "S", "k", " 250"), "[S]\r\nk= 250\r\n");
}

TEST(IniWrite, ChangesOnlyTheValueInAMessyFile) {
  // Lines before any section, comments, blank and blank-looking lines, odd lines, the same key in
  // another section, LF-only and CR-only breaks, a lone lead byte, a NUL and no final line break.
  const std::string before =
      "; written by hand\r\n"
      "loose=1\n"
      "\r\n"
      "[Other]\r\n"
      "\x82\xE0\x82\xDD\x82\xB6=7\r\n"
      "just some words\r"
      "  \t \r\n"
      "[Section]\r\n"
      "BGM\x8B\xE6\x95\xAA= 1\r\n"
      "odd \x81 line\n"
      "\x82\xE0\x82\xDD\x82\xB6 =   42   \r\n"
      "BGM\xCC\xA7\xB2\xD9=C:\\\x83\x5C\\a.mp3\r\n"
      "\r\n"
      "[Tail]\r\n"
      "nul=a\0b\r\n"s
      "last=x";
  const std::string expected =
      "; written by hand\r\n"
      "loose=1\n"
      "\r\n"
      "[Other]\r\n"
      "\x82\xE0\x82\xDD\x82\xB6=7\r\n"
      "just some words\r"
      "  \t \r\n"
      "[Section]\r\n"
      "BGM\x8B\xE6\x95\xAA= 1\r\n"
      "odd \x81 line\n"
      "\x82\xE0\x82\xDD\x82\xB6 = 250   \r\n"
      "BGM\xCC\xA7\xB2\xD9=C:\\\x83\x5C\\a.mp3\r\n"
      "\r\n"
      "[Tail]\r\n"
      "nul=a\0b\r\n"s
      "last=x";
  const auto written = WithValue(before, kSettingsSection, kKeyLeafCount, " 250");
  ASSERT_TRUE(written);
  EXPECT_EQ(*written, expected);
  EXPECT_EQ(ReadValue(*written, kSettingsSection, kKeyBgmFile), "C:\\\x83\x5C\\a.mp3");
  EXPECT_EQ(ReadValue(*written, "Other", kKeyLeafCount), "7");
}

TEST(IniWrite, RefusesWhatCouldNotBeReadBack) {
  struct Case {
    const char* what;
    std::string section, key, value;
    bool storable;
  };
  const Case cases[] = {
      {"ordinary", "S", "k", "v", true},
      {"empty value", "S", "k", "", true},
      {"line break in value", "S", "k", "a\r\nb", false},
      {"line feed in key", "S", "k\n", "v", false},
      {"equals in key", "S", "a=b", "v", false},
      {"key that looks like a header", "S", "[k]", "v", false},
      {"blank key", "S", "  ", "v", false},
      {"blank section", "", "k", "v", false},
      {"section ending in a lone lead byte", "S\x83", "k", "v", false},
      {"section ending in a double-byte character", "S\x83\x5D", "k", "v", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CanStore(c.section, c.key, c.value), c.storable) << c.what;
    EXPECT_EQ(WithValue("[S]\r\nk=1\r\n", c.section, c.key, c.value).has_value(), c.storable) << c.what;
  }
}

}  // namespace
}  // namespace kovaren::ini
