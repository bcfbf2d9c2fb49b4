#include "platform/x_errors_x11.h"

#include <atomic>
#include <cstdio>

namespace kovaren::x11 {
namespace {

// The one piece of process-wide state: Xlib's handler has nowhere else to put what it heard.
std::atomic<unsigned long> errorCount{0};

int CountError(Display* display, XErrorEvent* error) {
  errorCount.fetch_add(1);
  // A window that went away is expected (its DestroyNotify ends the program); others are worth a line.
  if (error->error_code != BadWindow && error->error_code != BadDrawable) {
    char text[128] = "";
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "kovaren: X error: %s (request %d.%d)\n", text, error->request_code, error->minor_code);
  }
  return 0;
}

}  // namespace

void InstallErrorHandler() { XSetErrorHandler(&CountError); }

ErrorTrap::ErrorTrap(Display* display) : display_(display) {
  XSync(display_, False);
  before_ = errorCount.load();
}

bool ErrorTrap::Failed() {
  XSync(display_, False);
  return errorCount.load() != before_;
}

}  // namespace kovaren::x11
