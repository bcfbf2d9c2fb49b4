// Fuzzes the whole-number rule of the settings file against the C library's strtod: where the text is
// a decimal number away from a whole-number boundary, both must agree on the floor and the range.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_check.h"
#include "settings_file/ini_access.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto whole = kovaren::WholeNumberPart(text);

  const size_t first = text.find_first_not_of(" \t");
  const size_t last = text.find_last_not_of(" \t");
  const std::string number = first == std::string::npos ? "" : text.substr(first, last - first + 1);
  // Letters would let strtod read hexadecimal, infinities and NaN, which the rule does not know.
  if (number.empty() || number.find_first_not_of("0123456789+-.eE") != std::string::npos) {
    CHECK(!whole);
    return 0;
  }
  char* end = nullptr;
  const double d = std::strtod(number.c_str(), &end);
  if (end != number.c_str() + number.size()) {
    CHECK(!whole);
    return 0;
  }
  const double floor = std::floor(d);
  const bool nearWhole = std::fabs(d - std::nearbyint(d)) < 1e-6;  // binary rounding may go either way
  if (floor < -32769.0 || floor > 32768.0) {
    CHECK(!whole);
  } else if (!nearWhole && floor >= -32768.0 && floor <= 32767.0) {
    CHECK(whole && *whole == static_cast<int16_t>(floor));
  }
  return 0;
}
