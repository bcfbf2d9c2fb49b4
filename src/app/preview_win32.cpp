// The preview window Tesmar_R. (Not built yet: returns at once.)
#include "app/modes_win32.h"

namespace kovaren::win32 {

void RunPreview(const StartContext&, HWND) {}

}  // namespace kovaren::win32
