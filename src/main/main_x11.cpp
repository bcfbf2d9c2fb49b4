// kovaren: the leaves as an xscreensaver hack. Reads the switches (and $XSCREENSAVER_WINDOW), then
// hands over to the saver.
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "saver/saver_x11.h"
#include "start/hack_switches.h"

namespace {
constexpr int kBadSwitches = 2;
}

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const char* handed = std::getenv("XSCREENSAVER_WINDOW");
  const auto parsed = kovaren::start::ParseHackOptions(
      args, handed ? std::optional<std::string_view>(handed) : std::nullopt);
  if (!parsed.options) {
    std::fprintf(stderr, "kovaren: %s\n%s", parsed.error.c_str(), kovaren::start::HackUsage().c_str());
    return kBadSwitches;
  }
  if (parsed.options->help) {
    std::fputs(kovaren::start::HackUsage().c_str(), stdout);
    return 0;
  }
  return kovaren::x11::RunHack(*parsed.options);
}
