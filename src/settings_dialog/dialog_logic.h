// Folder src/settings_dialog owns the settings dialog: its logic (this file), where its controls stand
// (dialog_layout.h), its painted backdrop (backdrop.h), the caption zoom it opens and closes with
// (zoom.h) and its Win32 window (dialog_win32.cpp).
//
// What the settings dialog shows and writes, independent of the window system: a model of its
// controls, the loading sequence, the option group, the leaf-count scroll bar, the music file and
// the save. The Win32 window only mirrors this model on screen and feeds the user's actions in.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings_file/leaf_count.h"
#include "settings_file/settings.h"
#include "settings_dialog/zoom.h"

namespace kovaren::dialog {

// The leaf-count scroll bar spans every count the saver accepts; ten leaves per arrow click, fifty
// per trough click.
inline constexpr int kCountMinimum = kLeafCounts.minimum;
inline constexpr int kCountMaximum = kLeafCounts.maximum;
inline constexpr int kCountStart = kLeafCounts.byDefault;
inline constexpr int kCountSmallStep = 10;
inline constexpr int kCountLargeStep = 50;

// The combo box's drop-down list offers the empty entry (no repeat) and tracks 1 to 99, the most
// an audio CD can hold.
inline constexpr int kLastListedTrack = 99;

// Longest music path the settings file gives back whole when it is read again.
inline constexpr size_t kMaxStoredPathBytes = 255;

struct ScrollBarModel {
  int minimum = kCountMinimum;
  int maximum = kCountMaximum;
  int value = kCountStart;
  // A scroll bar refuses a value outside its range and keeps the one it had.
  bool SetValue(int v);
};

// The dialog's controls as the logic sees them. Texts are code page 932, as in the settings file.
struct DialogControls {
  ScrollBarModel count;                   // the leaf-count scroll bar
  std::string countLabel;                 // the number beside it
  std::array<bool, bgm::kKindCount> optionOn{};  // each music option's "on" mark, indexed by music kind
  std::string repeatText;                 // the repeat-track box's text field
  std::vector<std::string> repeatList;    // the repeat-track box's drop-down entries
  std::string fileLabel;                  // the music file's path as shown
};

// How the user moved the scroll bar.
enum class ScrollAction { LineLeft, LineRight, PageLeft, PageRight, ToMinimum, ToMaximum, Thumb };
// The scroll bar's value after `action` (thumbPosition is used for Thumb only), kept in range.
int ScrolledValue(const ScrollBarModel& bar, ScrollAction action, int thumbPosition);

// "##": no leading zeros, zero as empty text, "-" in front of negative values.
std::string RepeatText(int32_t track);
// The combo box's number, rounded to the nearest whole number (ties to even). Text that is not a
// number (empty included) gives 0; a number that does not fit 16 bits gives `previous`.
int16_t RepeatFromText(std::string_view text, int16_t previous);

// What the file chooser answered. `faithful` is false when the chosen path has characters that code
// page 932 cannot hold, so that the stored text would name another file.
struct FileChooserAnswer {
  bool chosen = false;
  bool faithful = true;
  std::string path;  // code page 932
};
enum class FileChoice { Unchanged, Taken, Refused };

class DialogLogic {
 public:
  explicit DialogLogic(Settings& settings) : settings_(settings) {}

  // Fills the controls from the settings and takes the zoom point from the cursor position.
  void Load(std::optional<ScreenPoint> cursor);

  // A click on an option's mark or caption (kind 0..2); other indexes are ignored.
  void SelectOption(int kind);
  // The scroll bar moved, by a click or while its thumb is dragged.
  void Scroll(ScrollAction action, int thumbPosition = 0);
  // The user edited the combo box's text field (or picked a list entry).
  void SetRepeatText(std::string text) { controls_.repeatText = std::move(text); }
  FileChoice ApplyFileChoice(const FileChooserAnswer& answer);
  // The four keys to store, in their fixed order; takes BgmRepeat from the combo box on the way. A
  // save that fails leaves every control as it was, so the user can try again.
  std::array<IniEntry, 4> EntriesToSave();

  const DialogControls& controls() const { return controls_; }
  ZoomPoint zoomPoint() const { return zoom_; }

 private:
  void ShowOption(int kind);

  Settings& settings_;
  DialogControls controls_;
  ZoomPoint zoom_;
};

}  // namespace kovaren::dialog
