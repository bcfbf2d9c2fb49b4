# The Wayland shell of kovaren (src/**/*_wayland.cpp) as a library: libwayland-client, the client code
# wayland-scanner makes at build time from xdg-shell (wayland-protocols) and from the layer-shell and
# screencopy descriptions in protocols/ (no Debian package ships those). GStreamer's music comes from
# the X11 shell's library, which the program links too.
pkg_check_modules(KOVAREN_WAYLAND_LIBS REQUIRED IMPORTED_TARGET wayland-client)
pkg_get_variable(KOVAREN_WAYLAND_SCANNER wayland-scanner wayland_scanner)
pkg_get_variable(KOVAREN_WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
if(NOT KOVAREN_WAYLAND_SCANNER OR NOT KOVAREN_WAYLAND_PROTOCOLS_DIR)
  message(FATAL_ERROR "wayland-scanner and wayland-protocols are needed (scripts/setup installs them)")
endif()

set(wayland_generated ${CMAKE_BINARY_DIR}/wayland-protocols)
set(wayland_protocol_files
  ${KOVAREN_WAYLAND_PROTOCOLS_DIR}/stable/xdg-shell/xdg-shell.xml
  ${CMAKE_SOURCE_DIR}/protocols/wlr-layer-shell-unstable-v1.xml
  ${CMAKE_SOURCE_DIR}/protocols/wlr-screencopy-unstable-v1.xml)
set(wayland_protocol_sources)
foreach(xml ${wayland_protocol_files})
  get_filename_component(name ${xml} NAME_WE)
  set(header ${wayland_generated}/${name}-client-protocol.h)
  set(code ${wayland_generated}/${name}-protocol.c)
  add_custom_command(OUTPUT ${header} ${code}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${wayland_generated}
    COMMAND ${KOVAREN_WAYLAND_SCANNER} client-header ${xml} ${header}
    COMMAND ${KOVAREN_WAYLAND_SCANNER} private-code ${xml} ${code}
    DEPENDS ${xml} COMMENT "wayland-scanner ${name}" VERBATIM)
  list(APPEND wayland_protocol_sources ${header} ${code})
endforeach()
enable_language(C)
add_library(kovaren_wayland_protocols STATIC ${wayland_protocol_sources})
target_include_directories(kovaren_wayland_protocols PUBLIC ${wayland_generated})
target_link_libraries(kovaren_wayland_protocols PUBLIC PkgConfig::KOVAREN_WAYLAND_LIBS)

add_library(kovaren_wayland STATIC ${KOVAREN_WAYLAND_SOURCES})
target_link_libraries(kovaren_wayland PUBLIC kovaren_x11 kovaren_wayland_protocols)

# The client bench/wayland_cpu.sh measures kovaren beside: the whole surface damaged every pass.
add_executable(bench_full_frame_wayland ${CMAKE_SOURCE_DIR}/bench/full_frame_wayland.cpp)
target_link_libraries(bench_full_frame_wayland PRIVATE kovaren_wayland)
