// The one decimal reader under each caller's rules: what a caller accepts, where its number ends, and
// the exact decimal it gets back to floor, round or widen.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "text/decimal_number.h"

namespace kovaren::text {
namespace {

// The rule sets of the five callers, as they configure the reader.
constexpr NumberRules kSettingsValue{.blanks = kSpaceAndTab, .fraction = true, .exponent = true, .fillsText = true};
constexpr NumberRules kRepeatTrackText = kSettingsValue;
constexpr NumberRules kMusicReply{.blanks = " \t\r\n", .fraction = true, .exponent = false, .fillsText = true};
constexpr NumberRules kMusicLeadingTrack{.blanks = " \t\r\n", .fraction = true, .exponent = false, .fillsText = false};
constexpr NumberRules kButtonProperty{.blanks = kSpace, .fraction = true, .exponent = false, .fillsText = true};
constexpr NumberRules kHostHandle{.blanks = kSpaceAndTab, .fraction = false, .exponent = false, .fillsText = false};

struct Read {
  const char* rules;
  NumberRules set;
  const char* text;
  std::optional<std::string> written;  // nothing: not a number under these rules
  bool negative = false;
  std::string digits = "";
  int64_t pointAt = 0;
};

TEST(DecimalReader, EachCallersRulesDecideWhatIsANumberAndWhereItEnds) {
  const Read cases[] = {
      {"settings", kSettingsValue, " -2.5e1\t", "2.5e1", true, "25", 2},
      {"settings", kSettingsValue, "007.250", "007.250", false, "7250", 1},
      {"settings", kSettingsValue, "0.004", "0.004", false, "4", -2},
      {"settings", kSettingsValue, "0e999999999999", "0e999999999999", false, "", 0},
      {"settings", kSettingsValue, "5.", "5.", false, "5", 1},
      {"settings", kSettingsValue, ".5", ".5", false, "5", 0},
      {"settings", kSettingsValue, "1e", std::nullopt},  // the number ends before the "e": text left over
      {"settings", kSettingsValue, "1\r", std::nullopt},
      {"settings", kSettingsValue, ".", std::nullopt},
      {"settings", kSettingsValue, "--1", std::nullopt},
      {"repeat track", kRepeatTrackText, "\t+3 ", "3", false, "3", 1},
      {"repeat track", kRepeatTrackText, "inf", std::nullopt},
      {"music reply", kMusicReply, "\r\n12\r\n", "12", false, "12", 2},
      {"music reply", kMusicReply, "1e2", std::nullopt},
      {"music reply", kMusicReply, "12 tracks", std::nullopt},
      {"music leading track", kMusicLeadingTrack, " 12 tracks", "12", false, "12", 2},
      {"music leading track", kMusicLeadingTrack, "3.5e1", "3.5", false, "35", 1},
      {"music leading track", kMusicLeadingTrack, "Error", std::nullopt},
      {"button property", kButtonProperty, " -3 ", "3", true, "3", 1},
      {"button property", kButtonProperty, "\t3", std::nullopt},  // only spaces surround a stored number
      {"host handle", kHostHandle, "  -0012x", "0012", true, "12", 2},
      {"host handle", kHostHandle, "12.9", "12", false, "12", 2},
      {"host handle", kHostHandle, "-", std::nullopt},
  };
  for (const Read& c : cases) {
    const auto number = ReadDecimal(std::string_view(c.text), c.set);
    ASSERT_EQ(number.has_value(), c.written.has_value()) << c.rules << ": \"" << c.text << '"';
    if (!number) continue;
    EXPECT_EQ(number->written, *c.written) << c.rules << ": \"" << c.text << '"';
    EXPECT_EQ(number->negative, c.negative) << c.rules << ": \"" << c.text << '"';
    EXPECT_EQ(number->digits, c.digits) << c.rules << ": \"" << c.text << '"';
    EXPECT_EQ(number->pointAt, c.pointAt) << c.rules << ": \"" << c.text << '"';
  }
}

TEST(DecimalReader, WideAndUtf16TextReadLikeBytes) {
  const auto wide = ReadDecimal(std::wstring_view(L" -2.5 "), kButtonProperty);
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->written, "2.5");
  EXPECT_TRUE(wide->negative);
  const auto utf16 = ReadDecimal(std::u16string_view(u"\u0661\u0662"), kHostHandle);  // Arabic-Indic digits
  EXPECT_FALSE(utf16) << "only ASCII digits are digits";
}

TEST(DecimalReader, FloorIsExactAndRangeChecked) {
  struct Case {
    const char* text;
    std::optional<int64_t> floor;
  } cases[] = {
      {"-0.0001", -1}, {"-2", -2}, {"32767.99999999999999999", 32767}, {"-32768.5", std::nullopt},
      {"1e999999999999999999999", std::nullopt}, {"1e-999999999999999999", 0}, {"-1e-999999999999999999", -1},
  };
  for (const Case& c : cases) {
    const auto number = ReadDecimal(std::string_view(c.text), kSettingsValue);
    ASSERT_TRUE(number) << c.text;
    EXPECT_EQ(number->Floor(-32768, 32767), c.floor) << c.text;
  }
}

TEST(DecimalReader, WholeMagnitudeHoldsExactly64Bits) {
  struct Case {
    const char* text;
    std::optional<uint64_t> magnitude;
  } cases[] = {
      {"18446744073709551615", UINT64_MAX}, {"18446744073709551616", std::nullopt},
      {"000000000000000000000000000042", 42}, {"0", 0}, {"123456789012345678901", std::nullopt},
  };
  for (const Case& c : cases) {
    const auto number = ReadDecimal(std::string_view(c.text), kHostHandle);
    ASSERT_TRUE(number) << c.text;
    EXPECT_EQ(number->WholeMagnitude(), c.magnitude) << c.text;
  }
}

TEST(DecimalReader, DoublesAreCorrectlyRoundedAndReportTheirRange) {
  const auto half = ReadDecimal(std::string_view("2.50000000000000001"), kSettingsValue);
  ASSERT_TRUE(half);
  EXPECT_EQ(half->MagnitudeAsDouble().magnitude, 2.5);
  const auto huge = ReadDecimal(std::string_view("1e999"), kSettingsValue);
  ASSERT_TRUE(huge);
  EXPECT_EQ(huge->MagnitudeAsDouble().error, std::errc::result_out_of_range);
  for (const char* tiny : {"1e-400", "0.5e-999999999999", "123456e-330"}) {
    const auto number = ReadDecimal(std::string_view(tiny), kSettingsValue);
    ASSERT_TRUE(number) << tiny;
    EXPECT_EQ(number->MagnitudeAsDouble().error, std::errc()) << tiny;
    EXPECT_EQ(number->MagnitudeAsDouble().magnitude, 0.0) << tiny;
  }
}

}  // namespace
}  // namespace kovaren::text
