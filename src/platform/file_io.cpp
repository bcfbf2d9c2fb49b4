#include "platform/file_io.h"

namespace kovaren {

bool ReplaceFileAtomically(FileSystem& files, const FilePath& path, std::string_view bytes) {
  std::unique_ptr<NewFile> file = files.CreateFileBeside(path);
  if (!file) return false;
  const FilePath temp = file->path();
  const bool written = file->Write(bytes) && file->Flush();
  const bool closed = file->Close();  // a close can still lose buffered bytes
  file.reset();
  if (written && closed && files.MoveOver(temp, path)) return true;
  files.Remove(temp);
  return false;
}

}  // namespace kovaren
