# The native build: the portable core, its unit tests, the asset generator, the headless renderer,
# benchmarks, fuzz targets and the registration of the end-to-end tests.
# The debug information also names the folder the compiler ran in, the build folder itself; the
# build ID (a hash over it, kept when the package strips the rest) would differ from folder to folder.
add_compile_options(-ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
add_library(kovaren_core STATIC ${KOVAREN_CORE_SOURCES} ${KOVAREN_POSIX_SOURCES})
target_include_directories(kovaren_core PUBLIC ${CMAKE_SOURCE_DIR}/src)

# The leaf pictures built into the Linux program: the committed files, written into a C++ source.
file(GLOB KOVAREN_LEAF_PICTURES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/leaves/*.bmp)
set(KOVAREN_PICTURES_SOURCE ${CMAKE_BINARY_DIR}/generated/built_in_pictures.cpp)
add_custom_command(OUTPUT ${KOVAREN_PICTURES_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${KOVAREN_PICTURES_SOURCE} "-DFILES=${KOVAREN_LEAF_PICTURES}"
    -P ${CMAKE_SOURCE_DIR}/cmake/embed_pictures.cmake
  DEPENDS ${KOVAREN_LEAF_PICTURES} ${CMAKE_SOURCE_DIR}/cmake/embed_pictures.cmake VERBATIM)
add_library(kovaren_pictures STATIC ${KOVAREN_PICTURES_SOURCE})
target_link_libraries(kovaren_pictures PUBLIC kovaren_core)

# Artwork: every committed picture under assets/ is drawn by code in tools/art.
file(GLOB KOVAREN_ART_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/art/*.cpp)
add_library(kovaren_art STATIC ${KOVAREN_ART_SOURCES})
target_include_directories(kovaren_art PUBLIC ${CMAKE_SOURCE_DIR}/tools)
target_link_libraries(kovaren_art PUBLIC kovaren_core)

# The X11 program kovaren, over the core and the built-in pictures.
include(cmake/x11.cmake)
# Its Debian package (CPack, into the dist folder).
include(cmake/deb.cmake)

add_executable(gen-assets ${CMAKE_SOURCE_DIR}/tools/gen_assets.cpp)
target_link_libraries(gen-assets PRIVATE kovaren_art)
target_compile_definitions(gen-assets PRIVATE KOVAREN_ASSETS_DIR="${CMAKE_SOURCE_DIR}/assets")

# Native tools: every folder tools/NAME (other than art) holding .cpp files is the program kovaren-NAME,
# e.g. tools/render -> kovaren-render (the headless renderer: PNG still or animated GIF).
find_package(PNG REQUIRED)
find_package(GIF REQUIRED)
file(GLOB KOVAREN_TOOL_DIRS LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tools/*)
foreach(tool_dir ${KOVAREN_TOOL_DIRS})
  get_filename_component(tool ${tool_dir} NAME)
  if(IS_DIRECTORY ${tool_dir} AND NOT tool STREQUAL "art")
    file(GLOB tool_sources CONFIGURE_DEPENDS ${tool_dir}/*.cpp)
    if(tool_sources)
      add_executable(kovaren-${tool} ${tool_sources})
      target_link_libraries(kovaren-${tool} PRIVATE kovaren_art PNG::PNG GIF::GIF)
    endif()
  endif()
endforeach()

enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)

# Unit tests: one executable per folder under tests/unit, sharing the fakes in tests/support.
file(GLOB KOVAREN_SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
file(GLOB KOVAREN_TEST_GROUPS LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tests/unit/*)
foreach(group_dir ${KOVAREN_TEST_GROUPS})
  if(IS_DIRECTORY ${group_dir})
    get_filename_component(group ${group_dir} NAME)
    file(GLOB group_sources CONFIGURE_DEPENDS ${group_dir}/*.cpp)
    if(group_sources)
      add_executable(test_${group} ${group_sources} ${KOVAREN_SUPPORT_SOURCES})
      target_include_directories(test_${group} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
      target_compile_definitions(test_${group} PRIVATE KOVAREN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
      target_link_libraries(test_${group} PRIVATE kovaren_art kovaren_pictures GTest::gtest GTest::gmock GTest::gtest_main)
      gtest_discover_tests(test_${group} PROPERTIES LABELS unit DISCOVERY_TIMEOUT 60)
    endif()
  endif()
endforeach()

# Benchmarks: programs that print figures, never tests.
find_package(benchmark QUIET)
file(GLOB KOVAREN_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
list(FILTER KOVAREN_BENCH_SOURCES EXCLUDE REGEX "_(x11|wayland)\\.cpp$")  # shells' own programs: cmake/x11.cmake, cmake/wayland.cmake
if(benchmark_FOUND)
  foreach(src ${KOVAREN_BENCH_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(bench_${name} ${src})
    target_link_libraries(bench_${name} PRIVATE kovaren_art benchmark::benchmark benchmark::benchmark_main)
  endforeach()
endif()

# Fuzz targets (clang, libFuzzer with ASan and UBSan).
if(KOVAREN_FUZZ)
  file(GLOB KOVAREN_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*.cpp)
  foreach(src ${KOVAREN_FUZZ_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(fuzz_${name} ${src} ${KOVAREN_CORE_SOURCES} ${KOVAREN_POSIX_SOURCES})
    target_include_directories(fuzz_${name} PRIVATE ${CMAKE_SOURCE_DIR}/src)
    target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  endforeach()
endif()

if(KOVAREN_DIST)
  include(cmake/dist.cmake)
endif()

# End-to-end tests: tests/e2e/win32/test_*.sh run the real Kovaren.scr under Wine on a private Xvfb, once per
# Windows build (labels e2e_win64, e2e_win32; scripts/test runs those this machine can run). Each
# architecture boots one template prefix (a CTest fixture); the tests run one at a time.
if(KOVAREN_E2E)
  # Checks of the built Windows files themselves need no Wine: both builds, on every machine.
  foreach(arch win32 win64)
    string(TOUPPER "${arch}" arch_upper)
    add_test(NAME files_pe_image_${arch}
      COMMAND bash ${CMAKE_SOURCE_DIR}/tests/files/check_pe_image.sh ${arch} ${KOVAREN_${arch_upper}_BUILD}/Kovaren.scr ${KOVAREN_RELEASE})
    set_tests_properties(files_pe_image_${arch} PROPERTIES LABELS files
      ENVIRONMENT "KOVAREN_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  endforeach()

  file(GLOB KOVAREN_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/win32/test_*.sh)
  foreach(arch win64 win32)
    string(TOUPPER "${arch}" arch_upper)
    set(e2e_env
      "KOVAREN_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
      "KOVAREN_WIN_ARCH=${arch}"
      "KOVAREN_WIN_BUILD=${KOVAREN_${arch_upper}_BUILD}"
      "KOVAREN_NATIVE_BUILD=${CMAKE_BINARY_DIR}"
      "KOVAREN_E2E_TEMPLATE=${CMAKE_BINARY_DIR}/e2e-template-${arch}"
      "KOVAREN_DIST_DIR=${KOVAREN_DIST_DIR}"
      "KOVAREN_RELEASE=${KOVAREN_RELEASE}")
    add_test(NAME e2e_${arch}_setup COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/win32/fixture_setup.sh)
    set_tests_properties(e2e_${arch}_setup PROPERTIES FIXTURES_SETUP wine_prefix_${arch}
      LABELS "e2e;e2e_${arch}" RUN_SERIAL TRUE ENVIRONMENT "${e2e_env}" TIMEOUT 300)
    foreach(script ${KOVAREN_E2E_TESTS})
      get_filename_component(name ${script} NAME_WE)
      add_test(NAME e2e_${arch}_${name} COMMAND bash ${script})
      set_tests_properties(e2e_${arch}_${name} PROPERTIES FIXTURES_REQUIRED wine_prefix_${arch}
        LABELS "e2e;e2e_${arch}" RUN_SERIAL TRUE ENVIRONMENT "${e2e_env}" TIMEOUT 240)
    endforeach()
  endforeach()
endif()

# Native end-to-end suites: tests/e2e/SUITE/test_*.sh, each test on a private server of its own, on
# every machine, one at a time (label e2e_SUITE).
function(kovaren_native_e2e suite timeout)
  file(GLOB scripts CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/${suite}/test_*.sh)
  foreach(script ${scripts})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME e2e_${suite}_${name} COMMAND bash ${script})
    set_tests_properties(e2e_${suite}_${name} PROPERTIES LABELS "e2e;e2e_${suite}" RUN_SERIAL TRUE TIMEOUT ${timeout}
      ENVIRONMENT "KOVAREN_SOURCE_DIR=${CMAKE_SOURCE_DIR};KOVAREN_NATIVE_BUILD=${CMAKE_BINARY_DIR};KOVAREN_DEB=${deb_file}")
  endforeach()
endfunction()
# The X11 program on a private Xvfb (no Wine, no Windows build).
kovaren_native_e2e(x11 180)
# Its Wayland shell under a private headless sway (pixman, no input devices, an unprivileged user).
kovaren_native_e2e(wayland 120)

# The Wayland shell's pure pieces are tested against its library.
if(TARGET test_wayland)
  target_link_libraries(test_wayland PRIVATE kovaren_wayland)
endif()

# The shared end-to-end kit's own test (a private Xvfb, no Wine): with the unit tests (label kit).
add_test(NAME kit_test_kit COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/kit/test_kit.sh)
set_tests_properties(kit_test_kit PROPERTIES LABELS kit TIMEOUT 120)

# How the soak bench and tests judge their samples, on made-up runs (label kit: no server, seconds).
add_test(NAME kit_test_soak_sample COMMAND bash ${CMAKE_SOURCE_DIR}/tests/bench/test_soak_sample.sh)
set_tests_properties(kit_test_soak_sample PROPERTIES LABELS kit TIMEOUT 60)
