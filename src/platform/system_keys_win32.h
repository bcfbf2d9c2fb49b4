// The system's saver-running state, set by start-up before the full-screen saver and cleared when it
// ends. While it is set, systems that honour it keep the task-switching key combinations to
// themselves.
#pragma once

namespace kovaren::win32 {

// SPI_SETSCREENSAVERRUNNING: allow = false tells the system a screen saver is running.
void AllowSystemKeys(bool allow);

}  // namespace kovaren::win32
