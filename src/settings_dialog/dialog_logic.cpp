#include "settings_dialog/dialog_logic.h"

#include <cmath>
#include <limits>

#include "gfx/rounding.h"
#include "text/decimal_number.h"

namespace kovaren::dialog {
namespace {

// What the user may type: blanks around it, an optional sign, a decimal fraction and an exponent;
// nothing else ("inf", "nan" and hexadecimal are not numbers a user would mean).
constexpr text::NumberRules kTypedNumber{.blanks = text::kSpaceAndTab, .fraction = true, .exponent = true,
                                         .fillsText = true};

// The number `text` reads as. An exponent too large for a double reads as out of range; it cannot
// fit 16 bits either.
std::optional<double> ReadNumber(std::string_view text) {
  const auto number = text::ReadDecimal(text, kTypedNumber);
  if (!number) return std::nullopt;
  const auto [magnitude, error] = number->MagnitudeAsDouble();
  const double value = error == std::errc::result_out_of_range ? HUGE_VAL : magnitude;
  return number->negative ? -value : value;
}

}  // namespace

bool ScrollBarModel::SetValue(int v) {
  if (v < minimum || v > maximum) return false;
  value = v;
  return true;
}

int ScrolledValue(const ScrollBarModel& bar, ScrollAction action, int thumbPosition) {
  int v = bar.value;
  switch (action) {
    case ScrollAction::LineLeft: v -= kCountSmallStep; break;
    case ScrollAction::LineRight: v += kCountSmallStep; break;
    case ScrollAction::PageLeft: v -= kCountLargeStep; break;
    case ScrollAction::PageRight: v += kCountLargeStep; break;
    case ScrollAction::ToMinimum: v = bar.minimum; break;
    case ScrollAction::ToMaximum: v = bar.maximum; break;
    case ScrollAction::Thumb: v = thumbPosition; break;
  }
  if (v < bar.minimum) return bar.minimum;
  if (v > bar.maximum) return bar.maximum;
  return v;
}

std::string RepeatText(int32_t track) { return track == 0 ? std::string{} : std::to_string(track); }

int16_t RepeatFromText(std::string_view text, int16_t previous) {
  const std::optional<double> number = ReadNumber(text);
  if (!number) return 0;
  const double rounded = RoundHalfEven(*number);
  if (!(rounded >= std::numeric_limits<int16_t>::min() && rounded <= std::numeric_limits<int16_t>::max()))
    return previous;
  return static_cast<int16_t>(rounded);
}

void DialogLogic::Load(std::optional<ScreenPoint> cursor) {
  controls_ = DialogControls{};
  // A stored count the scroll bar cannot show is refused by it (it stays at its start value), while
  // the label shows the stored number until the bar is moved.
  controls_.count.SetValue(settings_.leafCount);
  controls_.countLabel = std::to_string(settings_.leafCount);
  ShowOption(settings_.bgmKind);
  controls_.repeatText = RepeatText(settings_.bgmRepeat);
  controls_.repeatList.reserve(kLastListedTrack + 1);
  for (int track = 0; track <= kLastListedTrack; ++track) controls_.repeatList.push_back(RepeatText(track));
  controls_.fileLabel = settings_.bgmFile;
  zoom_ = ZoomPointFromCursor(cursor);
}

void DialogLogic::ShowOption(int kind) {
  controls_.optionOn.fill(false);
  // A stored kind outside the group shows every mark "off".
  if (kind >= 0 && kind < static_cast<int>(controls_.optionOn.size())) controls_.optionOn[kind] = true;
}

void DialogLogic::SelectOption(int kind) {
  if (kind < 0 || kind >= static_cast<int>(controls_.optionOn.size())) return;
  ShowOption(kind);
  settings_.bgmKind = static_cast<int16_t>(kind);
}

void DialogLogic::Scroll(ScrollAction action, int thumbPosition) {
  controls_.count.SetValue(ScrolledValue(controls_.count, action, thumbPosition));
  controls_.countLabel = std::to_string(controls_.count.value);
}

FileChoice DialogLogic::ApplyFileChoice(const FileChooserAnswer& answer) {
  if (!answer.chosen || answer.path.empty()) return FileChoice::Unchanged;
  // A path the settings file would give back altered (characters lost in the code page, or cut on
  // reading) would silently name another file or none: keep the previous one instead.
  if (!answer.faithful || answer.path.size() > kMaxStoredPathBytes) return FileChoice::Refused;
  settings_.bgmFile = answer.path;
  controls_.fileLabel = answer.path;
  return FileChoice::Taken;
}

std::array<IniEntry, 4> DialogLogic::EntriesToSave() {
  settings_.bgmRepeat = RepeatFromText(controls_.repeatText, settings_.bgmRepeat);
  return {{
      {kSettingsSection, kKeyBgmKind, NumberText(settings_.bgmKind)},
      {kSettingsSection, kKeyBgmRepeat, NumberText(settings_.bgmRepeat)},
      {kSettingsSection, kKeyBgmFile, settings_.bgmFile},
      {kSettingsSection, kKeyLeafCount, NumberText(controls_.count.value)},
  }};
}

}  // namespace kovaren::dialog
