// The switches of kovaren, the X11 screen-saver program (an xscreensaver "hack"): where it draws,
// the leaf count, the music file and the seed. Parsed here, away from X11, so every switch and every
// odd value is decided and tested in one place. The switches are read as xscreensaver's hacks read
// theirs: one dash or two ("-root" as xsecurelock passes it, "--root" as the daemon's settings write).
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kovaren::start {

// Where the leaves are drawn.
enum class HackTarget {
  OwnWindow,      // a window of its own on the desktop (the default, "--window")
  FullScreen,     // a window of its own over every monitor ("--fullscreen")
  HandedWindow,   // the window a daemon or locker hands over in $XSCREENSAVER_WINDOW ("--root")
  RootWindow,     // "--root" with no window handed over: the screen's root window
  PreviewWindow,  // the settings dialog's preview ("--window-id ID")
};

// Which display server the program draws on. Automatic: a window handed over or named (--root,
// --window-id) is an X window, so X11; otherwise Wayland where $WAYLAND_DISPLAY is set, X11 elsewhere.
enum class DisplayServer { Automatic, X11, Wayland };

// The leaf count as the settings' "もみじ" offers it: the program keeps count + 1 leaves.
constexpr int kHackMinLeafCount = 0;    // the settings dialog's bar starts at 0 too
constexpr int kHackMaxLeafCount = 500;
constexpr int kHackDefaultLeafCount = 100;

struct HackOptions {
  HackTarget target = HackTarget::OwnWindow;
  unsigned long windowId = 0;    // HandedWindow and PreviewWindow: the X window id
  int leafCount = kHackDefaultLeafCount;
  std::string musicFile;         // empty: no music
  std::optional<uint64_t> seed;  // none: seeded from the time of day, as on Windows
  DisplayServer server = DisplayServer::Automatic;  // "--x11", "--wayland"
  bool help = false;
};

struct ParsedHackOptions {
  std::optional<HackOptions> options;  // nothing when a switch is unknown or its value is bad
  std::string error;                   // then: one line saying which, for the usage message
};

// `args`: the command line without the program name. `handedWindow`: $XSCREENSAVER_WINDOW, when set.
ParsedHackOptions ParseHackOptions(std::span<const std::string_view> args, std::optional<std::string_view> handedWindow);

// "0x2a00007" (hexadecimal, as the daemon writes it) or "44040199" (decimal, as xsecurelock writes
// it); surrounding blanks allowed. Nothing for anything else, 0, or a value beyond 32 bits (X ids
// have 29).
std::optional<unsigned long> ParseWindowId(std::string_view text);

// Whether these options draw on Wayland: `waylandDisplaySet` is whether $WAYLAND_DISPLAY names one.
bool DrawsOnWayland(const HackOptions& options, bool waylandDisplaySet);

// Any count to the range the settings offer.
int ClampLeafCount(long long count);

// The usage text of --help.
std::string HackUsage();

}  // namespace kovaren::start
