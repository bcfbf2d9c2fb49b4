#include "saver/hack_ending.h"

namespace kovaren::saver {

bool ListensForInput(HackTarget target) {
  return target == HackTarget::OwnWindow || target == HackTarget::FullScreen;
}

bool EndsHack(HackEvent event, HackTarget target) {
  switch (event) {
    case HackEvent::Terminated:
    case HackEvent::ConnectionLost:
    case HackEvent::WindowGone:
      return true;
    case HackEvent::KeyDown:
    case HackEvent::ButtonDown:
    case HackEvent::CloseAsked:
      return ListensForInput(target);
    case HackEvent::PointerMoved:
      return false;
  }
  return false;
}

}  // namespace kovaren::saver
