# The Windows builds (i686 into build/win32, x86_64 into build/win64, by toolchain file): Kovaren.scr,
# statically linked, importing only system DLLs.
enable_language(RC)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(KOVAREN_MANIFEST_ARCH amd64)
else()
  set(KOVAREN_MANIFEST_ARCH x86)
endif()
# Windows refuses to start a program whose manifest names another architecture: one manifest per build.
configure_file(${CMAKE_SOURCE_DIR}/src/main/kovaren_win32.manifest ${CMAKE_BINARY_DIR}/kovaren.manifest @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/src/main/version_win32.h.in ${CMAKE_BINARY_DIR}/kovaren_version.h @ONLY)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
# No link time in the PE header, so that two builds of one commit are byte for byte the same.
set(KOVAREN_WIN32_LINK -static -static-libgcc -static-libstdc++ -municode -mwindows -Wl,--no-insert-timestamp)
set(KOVAREN_WIN32_LIBS user32 gdi32 msimg32 winmm comdlg32 shell32 comctl32 wtsapi32 kernel32)

# The file-I/O seam the core calls (platform/file_io.h), with the text conversion it rests on, is
# part of the core, as its POSIX stand-in is in the native build: the shell depends on the core,
# never the other way round.
set(KOVAREN_CORE_SEAM_SOURCES ${CMAKE_SOURCE_DIR}/src/platform/file_io_win32.cpp
  ${CMAKE_SOURCE_DIR}/src/platform/text_win32.cpp)
add_library(kovaren_core STATIC ${KOVAREN_CORE_SOURCES} ${KOVAREN_CORE_SEAM_SOURCES})
target_include_directories(kovaren_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(kovaren_core PUBLIC kernel32)

set(KOVAREN_MAIN_SOURCE ${CMAKE_SOURCE_DIR}/src/main/main_win32.cpp)
list(REMOVE_ITEM KOVAREN_WIN32_SOURCES ${KOVAREN_MAIN_SOURCE} ${KOVAREN_CORE_SEAM_SOURCES})
add_library(kovaren_shell STATIC ${KOVAREN_WIN32_SOURCES})
target_include_directories(kovaren_shell PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(kovaren_shell PUBLIC kovaren_core ${KOVAREN_WIN32_LIBS})

# The resource script pulls the committed assets and each subsystem's fragment in by path: a changed
# picture or fragment rebuilds it.
file(GLOB_RECURSE KOVAREN_RC_INPUTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/*.bmp ${CMAKE_SOURCE_DIR}/assets/*.ico
  ${CMAKE_SOURCE_DIR}/assets/*.cur ${CMAKE_SOURCE_DIR}/src/*_win32.rc)
list(APPEND KOVAREN_RC_INPUTS ${CMAKE_BINARY_DIR}/kovaren.manifest ${CMAKE_BINARY_DIR}/kovaren_version.h)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/main/kovaren_win32.rc PROPERTIES OBJECT_DEPENDS "${KOVAREN_RC_INPUTS}")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR} -I${CMAKE_BINARY_DIR} -c 65001")
add_executable(Kovaren WIN32 ${KOVAREN_MAIN_SOURCE} ${CMAKE_SOURCE_DIR}/src/main/kovaren_win32.rc)
set_target_properties(Kovaren PROPERTIES SUFFIX ".scr" OUTPUT_NAME "Kovaren")
target_link_libraries(Kovaren PRIVATE kovaren_shell kovaren_core ${KOVAREN_WIN32_LIBS} ${KOVAREN_WIN32_LINK})

# Small Windows programs that the end-to-end tests use as hosts (preview host, button host, ...).
file(GLOB KOVAREN_E2E_HOSTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/win32/hosts/*.cpp)
foreach(host ${KOVAREN_E2E_HOSTS})
  get_filename_component(name ${host} NAME_WE)
  add_executable(${name} WIN32 ${host})
  target_link_libraries(${name} PRIVATE kovaren_shell kovaren_core ${KOVAREN_WIN32_LIBS} ${KOVAREN_WIN32_LINK})
endforeach()
