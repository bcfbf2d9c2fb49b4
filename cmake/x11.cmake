# kovaren: the X11 screen-saver program (an xscreensaver hack) over the portable core, from the
# src/**/*_x11.cpp files. X11 with MIT-SHM (Xext), RandR and Xinerama for the monitors, GStreamer for
# the music; the leaf sprites are drawn by the same code that draws the committed pictures.
find_package(PkgConfig REQUIRED)
pkg_check_modules(KOVAREN_X11_LIBS REQUIRED IMPORTED_TARGET x11 xext xrandr xinerama)
pkg_check_modules(KOVAREN_GST_LIBS REQUIRED IMPORTED_TARGET gstreamer-1.0)

add_executable(kovaren ${KOVAREN_X11_SOURCES})
target_link_libraries(kovaren PRIVATE kovaren_art PkgConfig::KOVAREN_X11_LIBS PkgConfig::KOVAREN_GST_LIBS)

# The X server's share of kovaren's picture, for bench/x11_cpu.sh: kovaren's rectangles sent by a
# client that draws nothing.
add_executable(bench_replay_rects_x11 ${CMAKE_SOURCE_DIR}/bench/replay_rects_x11.cpp)
target_link_libraries(bench_replay_rects_x11 PRIVATE kovaren_art PkgConfig::KOVAREN_X11_LIBS)

# Where Debian keeps xscreensaver's hacks (relative to the install prefix, /usr for the package).
install(TARGETS kovaren RUNTIME DESTINATION libexec/xscreensaver)
