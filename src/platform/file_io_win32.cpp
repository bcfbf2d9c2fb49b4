#include "platform/file_io.h"

// The Windows seam: wide file functions with the path converted from code page 932, so a settings file
// in a folder with any name works on every locale. A save writes a temporary file beside the target,
// flushes it and moves it over the target in one step; on failure the temporary goes and the old file
// stays as it was.
#include <windows.h>

#include <algorithm>

#include "platform/text_win32.h"

namespace kovaren {
namespace {

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

// WriteFile takes at most a DWORD at a time; a mebibyte per call keeps each request modest.
constexpr size_t kWriteChunkBytes = size_t{1} << 20;
// The settings file is small: one read of this size usually takes it whole.
constexpr DWORD kReadChunkBytes = 16384;

std::wstring WidePath(const std::string& path) { return win32::WideFromCp932(path); }

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const auto chunk = static_cast<DWORD>(std::min(bytes.size(), kWriteChunkBytes));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
  FileHandle file(CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.valid()) return std::nullopt;
  std::string bytes;
  char chunk[kReadChunkBytes];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(file.get(), chunk, sizeof chunk, &n, nullptr)) return std::nullopt;
    if (n == 0) return bytes;
    bytes.append(chunk, n);
  }
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
  const std::wstring target = WidePath(path);
  const std::wstring temp = target + L".kovaren-new";
  {
    FileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    const bool written = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
    if (!file.Close() || !written) {
      DeleteFileW(temp.c_str());
      return false;
    }
  }
  if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temp.c_str());
    return false;
  }
  return true;
}

bool CanOpenForReading(const std::string& path) {
  // A folder fails here too: opening one needs FILE_FLAG_BACKUP_SEMANTICS.
  FileHandle file(CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  return file.valid();
}

bool FileIsMissing(const std::string& path) {
  if (GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace kovaren
