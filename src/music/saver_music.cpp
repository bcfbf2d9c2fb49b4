#include "music/saver_music.h"

namespace kovaren::music {

// Not built yet: no music, every key ends the saver.
SaverMusic::SaverMusic(MciPort& port, const Settings& settings) : port_(port), settings_(settings) {}
SaverMusic::Timers SaverMusic::Start() { return {}; }
void SaverMusic::OnTimer1() {}
bool SaverMusic::OnTimer2() { return false; }
bool SaverMusic::TakesKey(int) { return false; }
void SaverMusic::StopForExit(bool) {}

}  // namespace kovaren::music
