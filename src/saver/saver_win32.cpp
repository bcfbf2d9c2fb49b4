// The full-screen saver window Tesmar_S. (Not built yet: ends at once.)
#include "app/modes_win32.h"

namespace kovaren::win32 {

void RunSaver(StartContext&, Settings&) { ExitProcess(0); }

}  // namespace kovaren::win32
