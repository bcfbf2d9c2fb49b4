// Whether anybody can see the saver. The shell feeds it the display and session notifications it
// receives; the loop asks it whether to run passes. Dimmed still counts as seen: the user may be
// looking at a dimmed screen, and pausing there would look like a hang.
#pragma once

namespace kovaren::saver {

enum class DisplayState { kOff, kOn, kDimmed };  // the values the power notification carries: 0, 1, 2

enum class SessionEvent { kLock, kUnlock, kDisconnect, kConnect };

enum class Visibility { kDraw, kUnseen };

class VisibilityState {
 public:
  // Starts seen: the saver starts because the display is on and the session is ours.
  VisibilityState() = default;

  // Each returns true when the answer of Current() changed from unseen to draw: the caller then
  // restarts its pass clock from now and presents the whole screen once.
  bool OnDisplay(DisplayState state);
  bool OnSession(SessionEvent event);

  Visibility Current() const;

 private:
  bool Apply(bool displayOff, bool locked, bool disconnected);

  bool displayOff_ = false;
  bool locked_ = false;
  bool disconnected_ = false;
};

// Maps the DWORD of a display-state notification; anything unknown counts as on, so a value we do
// not understand never stops the saver from drawing.
DisplayState DisplayStateFromValue(unsigned long value);

}  // namespace kovaren::saver
