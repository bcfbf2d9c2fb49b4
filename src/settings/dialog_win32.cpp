// The settings dialog Tesmar_P. (Not built yet: returns at once.)
#include "app/modes_win32.h"

namespace kovaren::win32 {

void RunSettingsDialog(const StartContext&, Settings&) {}

}  // namespace kovaren::win32
