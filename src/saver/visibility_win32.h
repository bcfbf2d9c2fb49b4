// Feeds the saver's seen/unseen state from the system: registers the window for display-state and
// session notifications and decodes those messages. Registration that the system does not offer
// (an older Windows, or Wine, whose power notifications are a stub) leaves the saver drawing.
#pragma once
#include <windows.h>

#include "saver/visibility.h"

namespace kovaren::win32 {

class VisibilityFeed {
 public:
  explicit VisibilityFeed(HWND window);
  ~VisibilityFeed();
  VisibilityFeed(const VisibilityFeed&) = delete;
  VisibilityFeed& operator=(const VisibilityFeed&) = delete;

  // For WM_POWERBROADCAST and WM_WTSSESSION_CHANGE: true when the saver has just become seen again.
  bool OnPowerBroadcast(WPARAM wp, LPARAM lp);
  bool OnSessionChange(WPARAM wp);

  bool seen() const { return state_.Current() == saver::Visibility::kDraw; }

 private:
  HWND window_;
  HPOWERNOTIFY consoleDisplay_ = nullptr;
  HPOWERNOTIFY sessionDisplay_ = nullptr;
  bool sessionRegistered_ = false;
  saver::VisibilityState state_;
};

}  // namespace kovaren::win32
