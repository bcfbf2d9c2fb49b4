#include "settings_dialog/dialog_controls_win32.h"

#include <string>

#include "platform/text_win32.h"
#include "settings_dialog/dialog_layout.h"
#include "skin_button/button_win32.h"

namespace kovaren::win32 {
namespace {

using namespace kovaren::dialog;

constexpr wchar_t kFileButtonText[] = L"...";
constexpr wchar_t kSaveText[] = L"設定";
constexpr wchar_t kCancelText[] = L"ｷｬﾝｾﾙ";
constexpr int kComboDropHeight = 200;  // the combo box's height with its list dropped down

HMENU IdOf(ControlId id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

}  // namespace

DialogChildren CreateDialogControls(HWND dialog, HINSTANCE instance, HFONT font) {
  DialogChildren children;
  const Rect combo = InClient(kRepeatCombo);
  // The box is narrow: without automatic scrolling it would stop taking keys at its visible width.
  constexpr DWORD kComboStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
  children.repeat = CreateWindowExW(0, L"COMBOBOX", L"", kComboStyle, combo.x, combo.y, combo.w, kComboDropHeight,
                                    dialog, IdOf(kIdRepeat), instance, nullptr);

  const WPARAM fontParam = reinterpret_cast<WPARAM>(font);
  RegisterSkinButtonClass(instance);
  auto button = [&](ControlId id, const wchar_t* caption, const Rect& r) {
    // The skin pictures are the program's own resources.
    HWND b = CreateSkinButton(dialog, id, caption, r.x, r.y, r.w, r.h, instance, instance);
    if (b) SendMessageW(b, WM_SETFONT, fontParam, FALSE);
    return b;
  };
  HWND fileButton = button(kIdFileButton, kFileButtonText, InClient(kFileButton));

  const Rect bar = InClient(kCountScroll);
  children.count = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | SBS_HORZ, bar.x,
                                   bar.y, bar.w, bar.h, dialog, IdOf(kIdCount), instance, nullptr);
  children.save = button(kIdSave, kSaveText, kSaveButton);
  HWND cancel = button(kIdCancel, kCancelText, kCancelButton);

  if (children.repeat) SendMessageW(children.repeat, WM_SETFONT, fontParam, FALSE);
  // Every skinned button starts its hover poll once all controls exist.
  for (HWND b : {cancel, children.save, fileButton})
    if (b) InitializeSkinButton(b);
  return children;
}

void ShowInControls(const DialogChildren& children, const DialogControls& c) {
  if (children.count) {
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_POS, c.count.minimum, c.count.maximum, 0, c.count.value, 0};
    SetScrollInfo(children.count, SB_CTL, &si, TRUE);
  }
  if (children.repeat) {
    SendMessageW(children.repeat, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : c.repeatList) {
      const std::wstring text = WideFromCp932(entry);
      SendMessageW(children.repeat, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SetWindowTextW(children.repeat, WideFromCp932(c.repeatText).c_str());
  }
}

std::optional<ScrollAction> ScrollActionOf(WORD code) {
  switch (code) {
    case SB_LINELEFT: return ScrollAction::LineLeft;
    case SB_LINERIGHT: return ScrollAction::LineRight;
    case SB_PAGELEFT: return ScrollAction::PageLeft;
    case SB_PAGERIGHT: return ScrollAction::PageRight;
    case SB_LEFT: return ScrollAction::ToMinimum;
    case SB_RIGHT: return ScrollAction::ToMaximum;
    case SB_THUMBTRACK:  // while dragging: the label follows the thumb
    case SB_THUMBPOSITION: return ScrollAction::Thumb;
    default: return std::nullopt;  // SB_ENDSCROLL
  }
}

}  // namespace kovaren::win32
