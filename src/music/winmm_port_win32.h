// The music module's port over winmm (mciSendStringW, mciGetErrorStringW, waveOutGetNumDevs, PlaySoundW).
#pragma once
#include <memory>

#include "music/mci_port.h"

namespace kovaren::music {

std::unique_ptr<MciPort> MakeWinmmPort();

}  // namespace kovaren::music
