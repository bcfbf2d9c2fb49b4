// The X11 program's decisions: which picture the leaves fall over, and what ends it, for every place
// it can draw.
#include <gtest/gtest.h>

#include "saver/hack_backdrop.h"
#include "saver/hack_ending.h"

namespace kovaren::saver {
namespace {

TEST(HackBackdrop, NeverTheScreenInAWindowHandedOver) {
  struct Case {
    HackTarget target;
    bool screenshot;
    HackBackdrop backdrop;
  } cases[] = {
      {HackTarget::HandedWindow, true, HackBackdrop::DaemonScreenshot},
      {HackTarget::HandedWindow, false, HackBackdrop::Dark},  // a locker
      {HackTarget::PreviewWindow, true, HackBackdrop::DaemonScreenshot},
      {HackTarget::PreviewWindow, false, HackBackdrop::Dark},
      {HackTarget::RootWindow, true, HackBackdrop::Dark},
      {HackTarget::RootWindow, false, HackBackdrop::Dark},
      {HackTarget::OwnWindow, false, HackBackdrop::ScreenBeforeMap},
      {HackTarget::FullScreen, false, HackBackdrop::ScreenBeforeMap},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseBackdrop(c.target, c.screenshot), c.backdrop) << static_cast<int>(c.target) << c.screenshot;
  }
}

TEST(HackEnding, InputEndsOnlyAWindowOfItsOwn) {
  const HackTarget all[] = {HackTarget::OwnWindow, HackTarget::FullScreen, HackTarget::HandedWindow,
                            HackTarget::RootWindow, HackTarget::PreviewWindow};
  for (const HackTarget target : all) {
    const bool own = target == HackTarget::OwnWindow || target == HackTarget::FullScreen;
    EXPECT_EQ(ListensForInput(target), own);
    EXPECT_EQ(EndsHack(HackEvent::KeyDown, target), own);
    EXPECT_EQ(EndsHack(HackEvent::ButtonDown, target), own);
    EXPECT_EQ(EndsHack(HackEvent::CloseAsked, target), own);
    EXPECT_FALSE(EndsHack(HackEvent::PointerMoved, target));
    EXPECT_TRUE(EndsHack(HackEvent::Terminated, target));
    EXPECT_TRUE(EndsHack(HackEvent::ConnectionLost, target));
    EXPECT_TRUE(EndsHack(HackEvent::WindowGone, target));
  }
}

}  // namespace
}  // namespace kovaren::saver
