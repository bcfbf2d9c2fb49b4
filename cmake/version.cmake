# Every version text comes from project(VERSION): the major number, a dot and the minor as two digits
# is what users see in file names, the version record and the setup; the four-number forms
# go into the version record, the manifest and the setup program's file details.
set(minor "${PROJECT_VERSION_MINOR}")
if(minor LESS 10)
  set(minor "0${minor}")
endif()
set(KOVAREN_RELEASE "${PROJECT_VERSION_MAJOR}.${minor}")
set(KOVAREN_RELEASE_QUAD "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0")
set(KOVAREN_RELEASE_COMMAS "${PROJECT_VERSION_MAJOR}, ${PROJECT_VERSION_MINOR}, 0, 0")
unset(minor)
