// The settings dialog's child windows: the repeat-track combo box, the leaf-count scroll bar and the
// three skinned buttons, created in the order Tab moves through them; and the model mirrored into
// the two that show a value.
#pragma once
#include <windows.h>

#include <optional>

#include "settings_dialog/dialog_logic.h"

namespace kovaren::win32 {

enum ControlId : int {
  kIdRepeat = 101,
  kIdFileButton,
  kIdCount,
  kIdSave,
  kIdCancel,
};

// Each is null when the system could not create it; the dialog goes on without it.
struct DialogChildren {
  HWND repeat = nullptr;
  HWND count = nullptr;
  HWND save = nullptr;  // where the focus goes first
};

// Creates the children of `dialog` in `font`, and starts the buttons' hover poll.
DialogChildren CreateDialogControls(HWND dialog, HINSTANCE instance, HFONT font);

// The scroll bar's range and value, and the combo box's list and text, as the model has them.
void ShowInControls(const DialogChildren& children, const dialog::DialogControls& controls);

// What a WM_HSCROLL code asks of the scroll bar; nothing for the end of a scroll.
std::optional<dialog::ScrollAction> ScrollActionOf(WORD code);

}  // namespace kovaren::win32
