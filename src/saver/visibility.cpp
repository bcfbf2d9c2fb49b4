#include "saver/visibility.h"

namespace kovaren::saver {

namespace {
constexpr unsigned long kDisplayOffValue = 0;
constexpr unsigned long kDisplayDimmedValue = 2;
}  // namespace

DisplayState DisplayStateFromValue(unsigned long value) {
  if (value == kDisplayOffValue) return DisplayState::kOff;
  if (value == kDisplayDimmedValue) return DisplayState::kDimmed;
  return DisplayState::kOn;
}

Visibility VisibilityState::Current() const {
  return (displayOff_ || locked_ || disconnected_) ? Visibility::kUnseen : Visibility::kDraw;
}

bool VisibilityState::Apply(bool displayOff, bool locked, bool disconnected) {
  const Visibility before = Current();
  displayOff_ = displayOff;
  locked_ = locked;
  disconnected_ = disconnected;
  return before == Visibility::kUnseen && Current() == Visibility::kDraw;
}

bool VisibilityState::OnDisplay(DisplayState state) {
  return Apply(state == DisplayState::kOff, locked_, disconnected_);
}

bool VisibilityState::OnSession(SessionEvent event) {
  switch (event) {
    case SessionEvent::kLock: return Apply(displayOff_, true, disconnected_);
    case SessionEvent::kUnlock: return Apply(displayOff_, false, disconnected_);
    case SessionEvent::kDisconnect: return Apply(displayOff_, locked_, true);
    case SessionEvent::kConnect: return Apply(displayOff_, locked_, false);
  }
  return false;
}

}  // namespace kovaren::saver
