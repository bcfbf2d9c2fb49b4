# Downloads (native build, KOVAREN_DIST): the two setup programs made by makensis from
# packaging/windows/kovaren.nsi, and the zip for people who want no setup program. Both take the
# Kovaren.scr of the two Windows builds as they are.
find_program(KOVAREN_MAKENSIS makensis REQUIRED)

set(packaging ${CMAKE_SOURCE_DIR}/packaging/windows)
set(dist_outputs)
foreach(arch x64 x86)
  if(arch STREQUAL "x64")
    set(scr ${KOVAREN_WIN64_BUILD}/Kovaren.scr)
  else()
    set(scr ${KOVAREN_WIN32_BUILD}/Kovaren.scr)
  endif()
  set(setup ${KOVAREN_DIST_DIR}/KovarenSetup-${KOVAREN_RELEASE}-${arch}.exe)
  add_custom_command(OUTPUT ${setup}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KOVAREN_DIST_DIR}
    COMMAND ${KOVAREN_MAKENSIS} -V2 -DARCH=${arch} -DSCR_FILE=${scr} -DOUT_FILE=${setup}
      -DVERSION=${KOVAREN_RELEASE} -DVERSION_QUAD=${KOVAREN_RELEASE_QUAD} ${packaging}/kovaren.nsi
    DEPENDS ${packaging}/kovaren.nsi ${scr} ${CMAKE_SOURCE_DIR}/assets/icon/kovaren.ico
    COMMENT "Setup program ${arch}" VERBATIM)
  list(APPEND dist_outputs ${setup})
endforeach()

# The zip's README names the version; it is filled in from the template.
configure_file(${packaging}/README.txt.in ${CMAKE_BINARY_DIR}/dist-README.txt @ONLY)
set(zip ${KOVAREN_DIST_DIR}/Kovaren-${KOVAREN_RELEASE}-windows.zip)
add_custom_command(OUTPUT ${zip}
  COMMAND ${CMAKE_COMMAND} -DX64_SCR=${KOVAREN_WIN64_BUILD}/Kovaren.scr -DX86_SCR=${KOVAREN_WIN32_BUILD}/Kovaren.scr
    -DREADME=${CMAKE_BINARY_DIR}/dist-README.txt -DSTAGE=${CMAKE_BINARY_DIR}/dist-zip -DZIP=${zip} -P ${packaging}/make_zip.cmake
  DEPENDS ${packaging}/make_zip.cmake ${CMAKE_BINARY_DIR}/dist-README.txt ${KOVAREN_WIN64_BUILD}/Kovaren.scr
    ${KOVAREN_WIN32_BUILD}/Kovaren.scr
  COMMENT "Zip of both builds" VERBATIM)
list(APPEND dist_outputs ${zip})
add_custom_target(dist ALL DEPENDS ${dist_outputs})

add_test(NAME files_downloads COMMAND bash ${CMAKE_SOURCE_DIR}/tests/files/check_downloads.sh)
set_tests_properties(files_downloads PROPERTIES LABELS files TIMEOUT 60 ENVIRONMENT
  "KOVAREN_DIST_DIR=${KOVAREN_DIST_DIR};KOVAREN_WIN32_BUILD=${KOVAREN_WIN32_BUILD};KOVAREN_WIN64_BUILD=${KOVAREN_WIN64_BUILD};KOVAREN_RELEASE=${KOVAREN_RELEASE}")
