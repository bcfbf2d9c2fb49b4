// The X11 program's decisions: which picture the leaves fall over, and what ends it, for every place
// it can draw.
#include <gtest/gtest.h>

#include "saver/hack_backdrop.h"
#include "saver/hack_ending.h"
#include "saver/own_window.h"

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

// Half the monitor, but never too small to show leaves, on a small monitor or with none known.
TEST(OwnWindowSize, HalfTheMonitorNeverBelowTheMinimum) {
  struct Case {
    int monitorW, monitorH;
    WindowSize expected;
  } const cases[] = {
      {1920, 1080, {960, 540}},
      {800, 600, {400, 300}},
      {600, 400, {kOwnWindowMinWidth, kOwnWindowMinHeight}},
      {0, 0, {kOwnWindowMinWidth, kOwnWindowMinHeight}},
      {3000, 300, {1500, kOwnWindowMinHeight}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(OwnWindowSize(c.monitorW, c.monitorH), c.expected) << c.monitorW << " x " << c.monitorH;
}

}  // namespace
}  // namespace kovaren::saver
