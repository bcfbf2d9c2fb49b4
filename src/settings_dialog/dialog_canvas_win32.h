// The settings dialog's retained image: the painted backdrop, the option marks, the two heading
// frames and every label, drawn into one canvas whenever the model changes. Painting the window only
// copies from it. The child windows (combo box, scroll bar, buttons) draw themselves.
#pragma once
#include <windows.h>

#include <optional>

#include "gfx/pixel_buffer.h"
#include "platform/dib_canvas_win32.h"
#include "platform/font_win32.h"
#include "settings_dialog/dialog_logic.h"

namespace kovaren::win32 {

// The page the bottom label names and a click on it opens.
inline constexpr wchar_t kWebAddress[] = L"http://kovaren.example/";

// The dialog's text font, and the same underlined for the web address. Either is null when the
// system could not make it (the text then falls back to the DC's font).
struct DialogFonts {
  OwnedFont text;
  OwnedFont underlined;
};
DialogFonts MakeDialogFonts(HWND dialog);

class DialogCanvas {
 public:
  DialogCanvas() = default;
  // A canvas of the client size with the backdrop painted once; it loads the strip and the marks
  // from the program's resources. Empty (nothing is drawn, painting shows nothing) when the system
  // refuses the canvas.
  DialogCanvas(int width, int height);

  // Redraws everything the controls' model shows, in `fonts`.
  void Compose(const dialog::DialogControls& controls, const DialogFonts& fonts);
  // Copies `area` (client coordinates) of the image to `dc`.
  void Paint(HDC dc, const RECT& area) const;

 private:
  void DrawTexts(const dialog::DialogControls& controls, const DialogFonts& fonts);

  DibCanvas canvas_;
  PixelBuffer backdrop_;  // gradient and tiled panel
  std::optional<PixelBuffer> markOff_, markOn_;
};

}  // namespace kovaren::win32
