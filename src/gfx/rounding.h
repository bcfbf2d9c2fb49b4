// Conversions of floating-point values to integers round to the nearest integer, ties to even
// (100.5 -> 100, 101.5 -> 102, -10.5 -> -10). Every pixel position, index and size goes through here.
#pragma once
#include <cmath>
#include <cstdint>

namespace kovaren {

// Assumes the default floating-point rounding mode (to nearest), which nothing in the program changes.
inline double RoundHalfEven(double v) { return std::nearbyint(v); }

inline int32_t RoundToInt(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

}  // namespace kovaren
