// A random source that hands out a fixed list of numbers, then a constant: lets a test say exactly
// which number each field of a leaf draws.
#pragma once
#include <deque>
#include <initializer_list>

#include "saver/leaf.h"

namespace kovaren::saver::testing {

class ScriptedRandom final : public RandomSource {
 public:
  ScriptedRandom(std::initializer_list<double> values, double after = 0.5) : values_(values), after_(after) {}
  double NextUniform() override {
    ++drawn_;
    if (values_.empty()) return after_;
    const double v = values_.front();
    values_.pop_front();
    return v;
  }
  int drawn() const { return drawn_; }

 private:
  std::deque<double> values_;
  double after_;
  int drawn_ = 0;
};

}  // namespace kovaren::saver::testing
