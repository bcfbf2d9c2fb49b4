# Downloads (native build, KOVAREN_DIST): the two setup programs made by makensis from
# packaging/windows/kovaren.nsi, the zip for people who want no setup program, SHA256SUMS over every
# download (the Debian package too) and the package managers' manifests. Both Windows builds'
# Kovaren.scr are copied first (and signed, when a certificate is given: packaging/windows/signing.cmake);
# the setups and the zip pack those copies. Every file is made in the build folder and copied into the
# dist folder only once whole, so a failed or half-signed file never lands there. Their times come
# from SOURCE_DATE_EPOCH (scripts/build: the commit's), so one commit gives the same bytes.
find_program(KOVAREN_MAKENSIS makensis REQUIRED)
include(${CMAKE_SOURCE_DIR}/packaging/windows/signing.cmake)

set(KOVAREN_DOWNLOAD_URL "https://github.com/kovaren/kovaren/releases/download/v${KOVAREN_RELEASE}" CACHE STRING
  "Where the downloads of this version are published (the manifests name the files below it)")
set(KOVAREN_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
if(KOVAREN_SOURCE_DATE_EPOCH STREQUAL "")
  set(KOVAREN_SOURCE_DATE_EPOCH 0)
endif()

# Written only when it changes: a new commit time packs the downloads again.
set(epoch_stamp ${CMAKE_BINARY_DIR}/source-date-epoch.txt)
file(CONFIGURE OUTPUT ${epoch_stamp} CONTENT "${KOVAREN_SOURCE_DATE_EPOCH}\n")

set(packaging ${CMAKE_SOURCE_DIR}/packaging/windows)
set(sign_tool ${packaging}/sign_file.sh)
set(stage ${CMAKE_BINARY_DIR}/dist-stage)
set(dist_outputs)
set(setups)
foreach(arch x64 x86)
  if(arch STREQUAL "x64")
    set(built_scr ${KOVAREN_WIN64_BUILD}/Kovaren.scr)
  else()
    set(built_scr ${KOVAREN_WIN32_BUILD}/Kovaren.scr)
  endif()
  # The copy every download packs: signed when signing.
  set(scr ${stage}/${arch}/Kovaren.scr)
  set(sign_scr)
  set(nsis_sign)
  if(KOVAREN_SIGN)
    set(sign_scr COMMAND bash ${sign_tool} ${KOVAREN_SIGN_CERT_FILE} ${KOVAREN_SIGN_KEY_FILE} ${scr}.part ${KOVAREN_SIGN_TIMESTAMP})
    set(nsis_sign -DSIGN_TOOL=${sign_tool} -DSIGN_CERT=${KOVAREN_SIGN_CERT_FILE} -DSIGN_KEY=${KOVAREN_SIGN_KEY_FILE}
      -DSIGN_TIMESTAMP=${KOVAREN_SIGN_TIMESTAMP})
  endif()
  add_custom_command(OUTPUT ${scr}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/${arch}
    COMMAND ${CMAKE_COMMAND} -E copy ${built_scr} ${scr}.part
    ${sign_scr}
    COMMAND ${CMAKE_COMMAND} -E rename ${scr}.part ${scr}
    DEPENDS ${built_scr} ${KOVAREN_SIGN_STAMP} ${sign_tool}
    COMMENT "Kovaren.scr for the ${arch} downloads" VERBATIM)
  set(scr_${arch} ${scr})

  set(setup_name KovarenSetup-${KOVAREN_RELEASE}-${arch}.exe)
  set(setup ${KOVAREN_DIST_DIR}/${setup_name})
  # The setup keeps the packed file's time: its own copy is dated from the commit (the staged copy
  # keeps its build time, which the build's dependencies go by).
  set(nsis_scr ${stage}/${arch}/setup-input/Kovaren.scr)
  add_custom_command(OUTPUT ${setup}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KOVAREN_DIST_DIR} ${stage}/${arch}/setup-input
    COMMAND ${CMAKE_COMMAND} -E copy ${scr} ${nsis_scr}
    COMMAND touch -d @${KOVAREN_SOURCE_DATE_EPOCH} ${nsis_scr}
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${KOVAREN_SOURCE_DATE_EPOCH}
      ${KOVAREN_MAKENSIS} -V2 -DARCH=${arch} -DSCR_FILE=${nsis_scr} -DOUT_FILE=${stage}/${setup_name}
      -DVERSION=${KOVAREN_RELEASE} -DVERSION_QUAD=${KOVAREN_RELEASE_QUAD} ${nsis_sign} ${packaging}/kovaren.nsi
    COMMAND ${CMAKE_COMMAND} -E copy ${stage}/${setup_name} ${setup}.part
    COMMAND ${CMAKE_COMMAND} -E rename ${setup}.part ${setup}
    DEPENDS ${packaging}/kovaren.nsi ${scr} ${CMAKE_SOURCE_DIR}/assets/icon/kovaren.ico ${KOVAREN_SIGN_STAMP} ${sign_tool}
      ${epoch_stamp}
    COMMENT "Setup program ${arch}" VERBATIM)
  list(APPEND dist_outputs ${setup})
  list(APPEND setups ${setup})
endforeach()

# The zip's README names the version; it is filled in from the template.
configure_file(${packaging}/README.txt.in ${CMAKE_BINARY_DIR}/dist-README.txt @ONLY)
set(zip ${KOVAREN_DIST_DIR}/Kovaren-${KOVAREN_RELEASE}-windows.zip)
add_custom_command(OUTPUT ${zip}
  COMMAND ${CMAKE_COMMAND} -DX64_SCR=${scr_x64} -DX86_SCR=${scr_x86} -DREADME=${CMAKE_BINARY_DIR}/dist-README.txt
    -DSTAGE=${CMAKE_BINARY_DIR}/dist-zip -DZIP=${zip} -DMTIME=${KOVAREN_SOURCE_DATE_EPOCH} -P ${packaging}/make_zip.cmake
  DEPENDS ${packaging}/make_zip.cmake ${packaging}/write_zip.py ${CMAKE_BINARY_DIR}/dist-README.txt ${scr_x64} ${scr_x86}
    ${epoch_stamp}
  COMMENT "Zip of both builds" VERBATIM)
list(APPEND dist_outputs ${zip})

# Checksums of every download, in sha256sum -c form, names as they sit beside it.
set(sums ${KOVAREN_DIST_DIR}/SHA256SUMS)
set(downloads ${setups} ${zip} ${deb_file})
set(download_names)
foreach(file ${downloads})
  get_filename_component(name ${file} NAME)
  list(APPEND download_names ${name})
endforeach()
add_custom_command(OUTPUT ${sums}
  COMMAND sh -c "sha256sum -- \"$@\" > SHA256SUMS.part && mv -f SHA256SUMS.part SHA256SUMS" sums ${download_names}
  WORKING_DIRECTORY ${KOVAREN_DIST_DIR}
  DEPENDS ${downloads}
  COMMENT "SHA256SUMS" VERBATIM)
list(APPEND dist_outputs ${sums})

# The package managers' manifests, naming the setups (winget) and the zip (Scoop) by address and hash.
set(manifests ${KOVAREN_DIST_DIR}/manifests)
set(manifest_tool ${CMAKE_SOURCE_DIR}/packaging/manifests/make_manifests.py)
set(manifest_files
  ${manifests}/winget/Kovaren.Kovaren.yaml
  ${manifests}/winget/Kovaren.Kovaren.installer.yaml
  ${manifests}/winget/Kovaren.Kovaren.locale.ja-JP.yaml
  ${manifests}/scoop/kovaren.json)
add_custom_command(OUTPUT ${manifest_files}
  COMMAND python3 ${manifest_tool} --version ${KOVAREN_RELEASE} --url ${KOVAREN_DOWNLOAD_URL} --dist ${KOVAREN_DIST_DIR}
    --out ${manifests}
  DEPENDS ${manifest_tool} ${setups} ${zip}
  COMMENT "winget and Scoop manifests" VERBATIM)
list(APPEND dist_outputs ${manifest_files})
add_custom_target(dist ALL DEPENDS ${dist_outputs})

set(dist_env "KOVAREN_DIST_DIR=${KOVAREN_DIST_DIR};KOVAREN_WIN32_BUILD=${KOVAREN_WIN32_BUILD};KOVAREN_WIN64_BUILD=${KOVAREN_WIN64_BUILD};KOVAREN_RELEASE=${KOVAREN_RELEASE};KOVAREN_DIST_STAGE=${stage};KOVAREN_DOWNLOAD_URL=${KOVAREN_DOWNLOAD_URL};KOVAREN_SOURCE_DIR=${CMAKE_SOURCE_DIR};KOVAREN_SIGNED=${KOVAREN_SIGN}")
add_test(NAME files_downloads COMMAND bash ${CMAKE_SOURCE_DIR}/tests/files/check_downloads.sh)
set_tests_properties(files_downloads PROPERTIES LABELS files TIMEOUT 60 ENVIRONMENT "${dist_env}")
add_test(NAME files_manifests COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/files/check_manifests.py)
set_tests_properties(files_manifests PROPERTIES LABELS files TIMEOUT 60 ENVIRONMENT "${dist_env}")
add_test(NAME files_signing COMMAND bash ${CMAKE_SOURCE_DIR}/tests/files/check_signing.sh)
set_tests_properties(files_signing PROPERTIES LABELS files TIMEOUT 120 ENVIRONMENT "${dist_env}")
