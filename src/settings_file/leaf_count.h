// The leaf counts the settings offer: the saver keeps count + 1 leaves. The settings file's default,
// the settings dialog's bar and the X11 program's --count all take their range from here.
#pragma once

namespace kovaren {

struct LeafCountRange {
  int minimum;
  int maximum;
  int byDefault;
};

// From a floor of 0, so every count the saver accepts is one the dialog can show and save as it was.
inline constexpr LeafCountRange kLeafCounts{.minimum = 0, .maximum = 500, .byDefault = 100};

}  // namespace kovaren
