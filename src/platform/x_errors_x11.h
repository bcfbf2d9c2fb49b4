// Xlib reports protocol errors to one handler for the whole process, without a pointer of ours; the
// default one prints and exits, which would end the program when a window it draws in goes away
// between two passes. This handler counts errors instead, so a caller can ask whether a request failed.
#pragma once
#include <X11/Xlib.h>

namespace kovaren::x11 {

// Once, right after XOpenDisplay.
void InstallErrorHandler();

// Errors the server has reported for requests sent since it was made, asked after a round trip.
class ErrorTrap {
 public:
  explicit ErrorTrap(Display* display);
  bool Failed();  // XSync, then whether any error came

 private:
  Display* display_;
  unsigned long before_;
};

}  // namespace kovaren::x11
