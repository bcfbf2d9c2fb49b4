#include "platform/file_io.h"

// The Windows seam: wide file functions throughout. The settings file's paths arrive as UTF-16, so a
// folder of any name works on every locale; the music file's path is converted from code page 932.
#include <windows.h>

#include <algorithm>

#include "platform/text_win32.h"

namespace kovaren {
namespace {

// Suffix of the file a save writes before it moves it over the settings file.
constexpr std::string_view kNewFileSuffix = ".kovaren-new";
// WriteFile takes at most a DWORD at a time; a mebibyte per call keeps each request modest.
constexpr size_t kWriteChunkBytes = size_t{1} << 20;
// The settings file is small: one read of this size usually takes it whole.
constexpr DWORD kReadChunkBytes = 16384;

// Closes a file handle when it goes out of scope.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { Close(); }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    if (!valid()) return true;
    const bool ok = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE handle_;
};

class Win32NewFile final : public NewFile {
 public:
  Win32NewFile(HANDLE handle, FilePath path) : file_(handle), path_(std::move(path)) {}
  const FilePath& path() const override { return path_; }
  bool Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const auto chunk = static_cast<DWORD>(std::min(bytes.size(), kWriteChunkBytes));
      DWORD written = 0;
      if (!WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr) || written == 0) return false;
      bytes.remove_prefix(written);
    }
    return true;
  }
  bool Flush() override { return FlushFileBuffers(file_.get()) != 0; }
  bool Close() override { return file_.Close(); }

 private:
  FileHandle file_;
  FilePath path_;
};

class Win32FileSystem final : public FileSystem {
 public:
  std::optional<std::string> ReadWholeFile(const FilePath& path, uintmax_t maxBytes) override {
    // A folder fails to open here: that needs FILE_FLAG_BACKUP_SEMANTICS.
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.get(), &size) ||
        static_cast<uintmax_t>(size.QuadPart) > maxBytes) {
      return std::nullopt;
    }
    std::string bytes;
    char chunk[kReadChunkBytes];
    for (;;) {
      DWORD n = 0;
      if (!ReadFile(file.get(), chunk, sizeof chunk, &n, nullptr)) return std::nullopt;
      if (n == 0) return bytes;
      bytes.append(chunk, n);
      if (bytes.size() > maxBytes) return std::nullopt;  // it grew while being read
    }
  }

  bool IsMissing(const FilePath& path) override {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }

  bool CanOpenForReading(const std::string& cp932Path) override {
    FileHandle file(CreateFileW(win32::WideFromCp932(cp932Path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    return file.valid();
  }

  std::unique_ptr<NewFile> CreateFileBeside(const FilePath& target) override {
    FilePath temp = target + kNewFileSuffix;
    HANDLE handle = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32NewFile>(handle, std::move(temp));
  }

  bool MoveOver(const FilePath& from, const FilePath& to) override {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }

  void Remove(const FilePath& path) override { DeleteFileW(path.c_str()); }

  bool CreateFolders(const FilePath& folder) override {
    if (IsFolder(folder)) return true;
    const FilePath parent = folder.Folder();
    if (parent.empty() || parent == folder || !CreateFolders(parent)) return false;
    return CreateDirectoryW(folder.c_str(), nullptr) != 0 || IsFolder(folder);  // another process may have made it
  }

 private:
  static bool IsFolder(const FilePath& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }
};

}  // namespace

FileSystem& PlatformFileSystem() {
  static Win32FileSystem files;  // no state of its own
  return files;
}

}  // namespace kovaren
