# The Debian package (target deb, part of every native build): kovaren into xscreensaver's folder of
# hacks, its panel for xscreensaver's settings dialog, a man page and the Debian documents, made by
# CPack into KOVAREN_DIST_DIR (build/dist from scripts/build) as kovaren_<version>_amd64.deb.
set(packaging_deb ${CMAKE_SOURCE_DIR}/packaging/debian)
set(KOVAREN_DEB_VERSION "${PROJECT_VERSION}-1")  # upstream version, then the Debian revision
set(DEB_VERSION ${KOVAREN_DEB_VERSION})  # for the changelog and the man page
set(VERSION ${PROJECT_VERSION})
set(deb_stage ${CMAKE_BINARY_DIR}/deb-docs)

# Man pages and changelogs go in gzipped with -9n (no name or time stamp), as Debian policy asks, so the
# same sources give the same package.
configure_file(${packaging_deb}/kovaren.6 ${deb_stage}/kovaren.6 @ONLY)
configure_file(${packaging_deb}/changelog ${deb_stage}/changelog.Debian @ONLY)
foreach(doc kovaren.6 changelog.Debian)
  add_custom_command(OUTPUT ${deb_stage}/${doc}.gz
    COMMAND gzip -9n -c ${deb_stage}/${doc} > ${deb_stage}/${doc}.gz
    DEPENDS ${deb_stage}/${doc} COMMENT "gzip ${doc}" VERBATIM)
endforeach()
install(FILES ${deb_stage}/kovaren.6.gz DESTINATION share/man/man6)
install(FILES ${deb_stage}/changelog.Debian.gz ${packaging_deb}/copyright DESTINATION share/doc/kovaren)
install(FILES ${packaging_deb}/kovaren.xml DESTINATION share/xscreensaver/config)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kovaren)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${KOVAREN_DIST_DIR})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/cpack)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME "kovaren_${KOVAREN_DEB_VERSION}_amd64.deb")
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kovaren maintainers <maintainers@users.noreply.c-seed-f2e2755b.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# MP3 needs the "good" plugins (mpg123, wavparse) and an audio sink; the saver runs silently without.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "xscreensaver | xsecurelock, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-pulseaudio | gstreamer1.0-alsa")
# CPack indents every line after the first itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "autumn leaves falling over the screen, a screen saver
Kovaren lets autumn leaves of three colours fall over the screen as it was,
one scene per monitor. It is a hack for xscreensaver (pick it in the
settings dialog) and can be the saver of xsecurelock. It can play an MP3 or
WAV file over and over while the leaves fall.")
# Directories 0755 and files 0644/0755 whatever the umask of the machine that builds it.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
  GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# CPack installs through the build's `preinstall` target; were that to build `all` again, and `all`
# holds `deb`, the Makefile build would run CPack inside CPack without end. The deb rule below names
# everything the package installs, so preinstall need not build anything itself. (`install` then no
# longer builds first either: build, then install.)
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)

set(deb_file ${KOVAREN_DIST_DIR}/${CPACK_DEBIAN_FILE_NAME})
# CPack dates the package's files and archives from SOURCE_DATE_EPOCH (scripts/build: the commit's),
# so one commit gives one package.
set(deb_dated)
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(deb_dated ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=$ENV{SOURCE_DATE_EPOCH})
endif()
add_custom_command(OUTPUT ${deb_file}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KOVAREN_DIST_DIR}
  COMMAND ${deb_dated} ${CMAKE_CPACK_COMMAND} --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  DEPENDS kovaren ${deb_stage}/kovaren.6.gz ${deb_stage}/changelog.Debian.gz ${packaging_deb}/copyright
    ${packaging_deb}/kovaren.xml
  COMMENT "Debian package ${CPACK_DEBIAN_FILE_NAME}" VERBATIM)
add_custom_target(deb ALL DEPENDS ${deb_file})
