# kovaren: the X11 screen-saver program (an xscreensaver hack) over the portable core, from the
# src/**/*_x11.cpp files. X11 with MIT-SHM (Xext), RandR and Xinerama for the monitors, GStreamer for
# the music; the leaf sprites are the committed pictures, built in (kovaren_pictures).
find_package(PkgConfig REQUIRED)
pkg_check_modules(KOVAREN_X11_LIBS REQUIRED IMPORTED_TARGET x11 xext xrandr xinerama)
pkg_check_modules(KOVAREN_GST_LIBS REQUIRED IMPORTED_TARGET gstreamer-1.0)

# The shell as a library, so the measuring clients present as kovaren does.
set(KOVAREN_X11_SHELL_SOURCES ${KOVAREN_X11_SOURCES})
list(FILTER KOVAREN_X11_SHELL_SOURCES EXCLUDE REGEX "/main_x11\\.cpp$")
add_library(kovaren_x11 STATIC ${KOVAREN_X11_SHELL_SOURCES})
target_link_libraries(kovaren_x11 PUBLIC kovaren_pictures PkgConfig::KOVAREN_X11_LIBS PkgConfig::KOVAREN_GST_LIBS)
add_executable(kovaren ${CMAKE_SOURCE_DIR}/src/main/main_x11.cpp)
target_link_libraries(kovaren PRIVATE kovaren_x11)

# The clients bench/x11_cpu.sh measures kovaren beside: its rectangles replayed, and the full frame.
add_executable(bench_present_loops_x11 ${CMAKE_SOURCE_DIR}/bench/present_loops_x11.cpp)
target_link_libraries(bench_present_loops_x11 PRIVATE kovaren_x11)

# Where Debian keeps xscreensaver's hacks (relative to the install prefix, /usr for the package).
install(TARGETS kovaren RUNTIME DESTINATION libexec/xscreensaver)
