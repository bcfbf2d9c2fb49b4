# Makes the download zip: x64/Kovaren.scr, x86/Kovaren.scr and README.txt, nothing else.
# README.txt is kept in the repository as plain UTF-8 with LF line ends (README.txt.in, the version
# filled in by the build); the zip's copy gets CR LF
# and a byte-order mark so that every Notepad, old ones included, shows its Japanese right.
# Every entry carries the time MTIME (seconds since 1970, the commit's), so one commit gives one zip.
# cmake -DX64_SCR=... -DX86_SCR=... -DREADME=... -DSTAGE=<scratch folder> -DZIP=<output> -DMTIME=<seconds> -P make_zip.cmake
foreach(var X64_SCR X86_SCR README STAGE ZIP MTIME)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "make_zip.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE}/x64 ${STAGE}/x86)
file(COPY_FILE ${X64_SCR} ${STAGE}/x64/Kovaren.scr)
file(COPY_FILE ${X86_SCR} ${STAGE}/x86/Kovaren.scr)

file(READ ${README} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 utf8_bom)
file(WRITE ${STAGE}/README.txt "${utf8_bom}${text}")

# Written under a scratch name and renamed, so a failed run never leaves a short zip behind.
get_filename_component(zip_dir ${ZIP} DIRECTORY)
file(MAKE_DIRECTORY ${zip_dir})
file(REMOVE ${ZIP}.part)
execute_process(COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/write_zip.py ${ZIP}.part ${MTIME} ${STAGE}
  x64/Kovaren.scr x86/Kovaren.scr README.txt COMMAND_ERROR_IS_FATAL ANY)
file(RENAME ${ZIP}.part ${ZIP})
