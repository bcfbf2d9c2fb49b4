#include "saver/hack_backdrop.h"

namespace kovaren::saver {

HackBackdrop ChooseBackdrop(HackTarget target, bool screenshotOffered) {
  switch (target) {
    case HackTarget::OwnWindow:
    case HackTarget::FullScreen:
      return HackBackdrop::ScreenBeforeMap;
    case HackTarget::HandedWindow:
    case HackTarget::PreviewWindow:
      return screenshotOffered ? HackBackdrop::DaemonScreenshot : HackBackdrop::Dark;
    case HackTarget::RootWindow:
      // Drawing on the root itself: what it shows now is what the leaves would cover anyway, but
      // whoever started us there may be a locker; never read it.
      return HackBackdrop::Dark;
  }
  return HackBackdrop::Dark;
}

}  // namespace kovaren::saver
