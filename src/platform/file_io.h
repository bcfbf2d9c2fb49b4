// The few file operations the settings file needs, behind one seam: FileSystem is implemented by
// file_io_posix.cpp for the native build and file_io_win32.cpp (wide functions) for Windows; tests put
// fakes in its place. The settings file's paths are FilePath, UTF-16 on Windows, so a
// folder of any name works; the music file's path is code page 932 text, as the settings file holds it.
// How a file is replaced safely (new file, write, flush, move over the old one) is decided here, once,
// from the platform's steps. Either seam is built into the core library, so the core never reaches
// into the Windows shell.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_path.h"

namespace kovaren {

// A settings file longer than this is not read at all. Real ones hold a few hundred bytes; the bound
// keeps a damaged or foreign file from taking the program's memory.
inline constexpr uintmax_t kMaxSettingsFileBytes = uintmax_t{1} << 20;

// A new file being written. Dropping it closes it; it stays on disk until moved or removed.
class NewFile {
 public:
  virtual ~NewFile() = default;
  virtual const FilePath& path() const = 0;
  virtual bool Write(std::string_view bytes) = 0;
  virtual bool Flush() = 0;  // through to the disk
  virtual bool Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The whole file; nothing when it cannot be opened or read, is no plain file, or holds more than
  // `maxBytes`.
  virtual std::optional<std::string> ReadWholeFile(const FilePath& path, uintmax_t maxBytes) = 0;
  // True when nothing at all stands at `path` (as opposed to something that cannot be read).
  virtual bool IsMissing(const FilePath& path) = 0;
  // True when `cp932Path` names a file that opens for sequential reading.
  virtual bool CanOpenForReading(const std::string& cp932Path) = 0;
  // A new, empty file in the folder of `target`, under a name of its own; nothing when the folder
  // refuses it.
  virtual std::unique_ptr<NewFile> CreateFileBeside(const FilePath& target) = 0;
  // Moves the file `from` over `to` in one step, replacing what stands there.
  virtual bool MoveOver(const FilePath& from, const FilePath& to) = 0;
  virtual void Remove(const FilePath& path) = 0;
  // Makes `folder` and any missing folder above it; true when it stands as a folder afterwards.
  virtual bool CreateFolders(const FilePath& folder) = 0;
};

// The platform's own file system.
FileSystem& PlatformFileSystem();

// Writes `bytes` to a new file beside `path`, flushes it and moves it over `path`. False on any
// failure, in which case `path` is as it was and the new file is gone.
bool ReplaceFileAtomically(FileSystem& files, const FilePath& path, std::string_view bytes);

}  // namespace kovaren
