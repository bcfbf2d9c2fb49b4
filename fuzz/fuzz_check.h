// The fuzz targets' invariant check: names the broken invariant before libFuzzer reports the abort.
#pragma once
#include <cstdio>
#include <cstdlib>

#define CHECK(condition)                                             \
  do {                                                               \
    if (!(condition)) {                                              \
      std::fprintf(stderr, "invariant broken: %s\n", #condition);   \
      std::abort();                                                  \
    }                                                                \
  } while (false)
