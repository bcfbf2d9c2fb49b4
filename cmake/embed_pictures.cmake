# Writes OUTPUT: a C++ file that defines saver::BuiltInPicture over the bytes of every FILES entry,
# each found by its file name without ".bmp". Run by the build (cmake -P) whenever a picture changes.
#   cmake -DOUTPUT=out.cpp "-DFILES=a.bmp;b.bmp" -P embed_pictures.cmake
set(body "")
set(table "")
set(index 0)
foreach(file IN LISTS FILES)
  get_filename_component(name ${file} NAME_WE)
  file(READ ${file} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n    " bytes "${bytes}")
  string(APPEND body "const uint8_t kPicture${index}[] = {\n    ${bytes}};\n")
  string(APPEND table "    {\"${name}\", kPicture${index}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT} "// Made by cmake/embed_pictures.cmake from the committed pictures; not to be edited.
#include \"saver/built_in_pictures.h\"

#include <string_view>

namespace kovaren::saver {
namespace {

${body}
struct BuiltInFile {
  std::string_view name;
  std::span<const uint8_t> bytes;
};
const BuiltInFile kFiles[] = {
${table}};

}  // namespace

std::span<const uint8_t> BuiltInPicture(std::string_view name) {
  for (const BuiltInFile& file : kFiles)
    if (file.name == name) return file.bytes;
  return {};
}

}  // namespace kovaren::saver
")
